#include "core/update/updateoptions.h"

namespace setforge {

bool writesFirmware(int updateOption)
{
    return updateOption == kUpdateFirmwareAndConfiguration || updateOption == kUpdateFirmware;
}

bool writesConfiguration(int updateOption)
{
    return updateOption == kUpdateFirmwareAndConfiguration || updateOption == kUpdateConfiguration;
}

std::string updateOptionsText(std::string_view prefix, int updateOption, bool readBack)
{
    const bool firmware = writesFirmware(updateOption);
    const bool configuration = writesConfiguration(updateOption);
    std::string text(prefix);
    text += firmware ? "FW " : "NO ";
    text += firmware && readBack ? "FR " : "NO ";
    text += configuration ? "PW " : "NO ";
    text += configuration && readBack ? "PR " : "NO ";
    return text;
}

} // namespace setforge

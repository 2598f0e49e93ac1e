#include "core/update/updateoptions.h"

bool writesFirmware(int updateOption)
{
    return updateOption == kUpdateFirmwareAndConfiguration || updateOption == kUpdateFirmware;
}

bool writesConfiguration(int updateOption)
{
    return updateOption == kUpdateFirmwareAndConfiguration || updateOption == kUpdateConfiguration;
}

std::string Update_Options(std::string_view s_opt, int updateOption, bool readBack)
{
    const bool firmware = writesFirmware(updateOption);
    const bool configuration = writesConfiguration(updateOption);
    std::string text(s_opt);
    text += firmware ? "FW " : "NO ";
    text += firmware && readBack ? "FR " : "NO ";
    text += configuration ? "PW " : "NO ";
    text += configuration && readBack ? "PR " : "NO ";
    return text;
}

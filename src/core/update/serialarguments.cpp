#include "core/update/serialarguments.h"

#include <filesystem>

#include "core/update/updatefiles.h"
#include "core/update/updateoptions.h"

namespace setforge {

std::string serialPortDevice(std::string_view entry)
{
#ifdef _WIN32
    return "\\\\.\\" + std::string(entry);
#else
    return std::string(entry);
#endif
}

std::string serialArgumentText(std::string_view portDevice, int updateOption, bool readBack,
                               std::string_view masterDir, std::string_view projectDir, char separator)
{
    std::string text(portDevice);
    text += ' ';
    text = updateOptionsText(text, updateOption, readBack);
    text += '"';
    text += masterDir;
    text += separator;
    text += kSerialFirmwareFile;
    text += "\" \"";
    text += projectDir;
    text += separator;
    text += "bin";
    text += separator;
    text += '"';
    return text;
}

std::string serialArgumentText(std::string_view portDevice, int updateOption, bool readBack,
                               std::string_view masterDir, std::string_view projectDir)
{
    return serialArgumentText(portDevice, updateOption, readBack, masterDir, projectDir,
                              static_cast<char>(std::filesystem::path::preferred_separator));
}

} // namespace setforge

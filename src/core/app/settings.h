#pragma once

#include <string>
#include <string_view>

#include "core/base/atomicfile.h"

namespace setforge {

// The values kept in Setforge.xml, with the defaults used when an element is missing.
struct Settings {
    std::string projectName;                // lastproj/projectname, default empty
    std::string deviceIp = "192.168.2.205"; // lastipadd/ipaddress
    std::string languageName = "English";   // lastlang/language
    bool enableInternet = false;            // lastinternet/enable_internet
    bool enableUpdate = false;              // lastinternet/enable_update
    bool enableJumpFieldTables = false;     // lastinternet/enable_jump_field_tables
    bool doubleClickAutoSize = false;       // lastinternet/Double_Click_Auto_Size
};

// Reads the settings file. A missing or unparsable file gives every default; a missing
// section or element gives that value's default only. A flag is true only for the text "1".
Settings readSettings(std::string_view utf8Path);

// Reads settings from XML text already in memory (same rules as readSettings).
Settings parseSettings(std::string_view xml);

// The settings file's content, rebuilt from scratch in the fixed element order. Every text
// is written so that readSettings gives it back exactly (carriage returns, blank-only texts).
std::string settingsXml(const Settings& settings);

// Writes the settings file through the atomic-write helper.
Result<void> writeSettings(std::string_view utf8Path, const Settings& settings);

} // namespace setforge

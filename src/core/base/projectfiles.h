#pragma once

#include <string>
#include <string_view>

namespace setforge {

// The full paths of a project's nine table files, derived from the project directory.
struct ProjectFiles {
    std::string parGen;            // ParGen.xml
    std::string sdo;               // sdo.xml
    std::string emcyDef;           // emcydef.xml
    std::string emcyWord;          // emcyword.xml
    std::string rpdoDef;           // rpdodef.xml
    std::string sdoPdo;            // sdopdo.xml
    std::string transmitPdo;       // Transmit_Pdo.xml
    std::string transmitPdoDefine; // Transmit_PDO_Define.xml
    std::string nodeGuard;         // NodeGuard.xml
};

// Derives the nine paths as projectDir + separator + file name.
ProjectFiles makeProjectFiles(std::string_view projectDir);

} // namespace setforge

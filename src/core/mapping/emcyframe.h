#pragma once

#include <string>

#include "core/mapping/mappingframe.h"

// One emergency of the emergency access table as the emergency mapping editor sees it.
// An emergency always offers five bytes: the five bytes after its error code and error register.
struct TEMCY_Frame : MappingFrame {
    static constexpr int kByteCount = 5;

    // Create: an emergency without entries, with the texts of its table row as stored.
    TEMCY_Frame(std::string devId, std::string code, std::string reg);

    // "Dev_ID<tab>Code<tab>Reg".
    std::string listLine() const override;

    std::string Dev_ID; // ID_EMCY text
    std::string Code;   // EMCY_Error_Code text
    std::string Reg;    // Error_Register text
};

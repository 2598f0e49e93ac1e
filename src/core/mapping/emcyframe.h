#pragma once

#include <string>

#include "core/mapping/mappingframe.h"

namespace setforge {

// One emergency of the emergency access table as the emergency mapping editor sees it.
// An emergency always offers five bytes: the five bytes after its error code and error register.
struct EmcyFrame : MappingFrame {
    static constexpr int kByteCount = 5;

    // Create: an emergency without entries, with the texts of its table row as stored.
    EmcyFrame(std::string devId, std::string code, std::string reg);

    // "deviceId<tab>errorCode<tab>errorRegister".
    std::string listLine() const override;

    std::string deviceId;      // ID_EMCY text
    std::string errorCode;     // EMCY_Error_Code text
    std::string errorRegister; // Error_Register text
};

} // namespace setforge

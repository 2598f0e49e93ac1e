#pragma once

#include <string>

#include "core/mapping/mappingframe.h"

// One receive or transmit PDO as a mapping editor sees it: the texts of its table row as stored.
struct TCAN_Frame : MappingFrame {
    // Create: a frame without entries. `Num_Byte` is Text_To_Int_Def(dim, 8).
    TCAN_Frame(std::string cobId, std::string dim);

    // "Cob_ID<tab>Dim".
    std::string listLine() const override;

    std::string Cob_ID; // COB-ID text of the frame's row
    std::string Dim;    // Dimension text of the frame's row
};

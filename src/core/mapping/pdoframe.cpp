#include "core/mapping/pdoframe.h"

#include <utility>

#include "core/tables/textint.h"

TCAN_Frame::TCAN_Frame(std::string cobId, std::string dim) : Cob_ID(std::move(cobId)), Dim(std::move(dim))
{
    // A dimension that is not a number is read as a full eight-byte frame.
    Num_Byte = Text_To_Int_Def(Dim, 8);
}

std::string TCAN_Frame::listLine() const
{
    return Cob_ID + '\t' + Dim;
}

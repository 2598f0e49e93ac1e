#include "core/mapping/emcyframe.h"

#include <utility>

TEMCY_Frame::TEMCY_Frame(std::string devId, std::string code, std::string reg)
    : Dev_ID(std::move(devId)), Code(std::move(code)), Reg(std::move(reg))
{
    Num_Byte = kByteCount;
}

std::string TEMCY_Frame::listLine() const
{
    return Dev_ID + '\t' + Code + '\t' + Reg;
}

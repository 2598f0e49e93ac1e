#include "core/mapping/emcyframe.h"

#include <utility>

namespace setforge {

EmcyFrame::EmcyFrame(std::string devId, std::string code, std::string reg)
    : deviceId(std::move(devId)), errorCode(std::move(code)), errorRegister(std::move(reg))
{
    byteCount = kByteCount;
}

std::string EmcyFrame::listLine() const
{
    return deviceId + '\t' + errorCode + '\t' + errorRegister;
}

} // namespace setforge

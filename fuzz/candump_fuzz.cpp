// The candump trace reader: whatever it accepts must write back as lines it reads to the same
// frames, and it must never accept a frame a CAN bus cannot carry.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/sim/canframe.h"
#include "fuzz/support/fuzzcheck.h"

using namespace setforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Result<std::vector<CanFrame>> frames = readCandumpText(text, "fuzz.log");
    if (!frames) {
        FUZZ_CHECK(frames.error().line && *frames.error().line >= 1, "a refused trace names its line");
        return 0;
    }
    std::string written;
    for (const CanFrame& frame : *frames) {
        FUZZ_CHECK(frame.data.size() <= 8 && frame.rtrLength <= 8, "at most 8 data bytes");
        FUZZ_CHECK(frame.id <= 0x1FFFFFFF, "an identifier has at most 29 bits");
        FUZZ_CHECK(!frame.rtr || frame.data.empty(), "a remote request carries no data");
        FUZZ_CHECK(frame.timeUs >= 0, "time stamps are not negative");
        written += formatCandumpLine(frame) + "\n";
    }
    const Result<std::vector<CanFrame>> again = readCandumpText(written, "again.log");
    FUZZ_CHECK(again && again.value() == frames.value(), "written frames read back the same");
    return 0;
}

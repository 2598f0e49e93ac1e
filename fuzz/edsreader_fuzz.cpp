// The EDS reader on arbitrary text. Beyond not crashing: an error always has its reason and a
// line inside the text; a device that reads has its objects ordered by index and its entries
// ordered and unique by sub-index, every VAR holding exactly sub-index 0, every text valid
// UTF-8 and every access one of the six; a text that reads for node 127 reads without a node;
// the default PDOs of any node come out with lengths that add up.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/nodes/edsreader.h"
#include "core/nodes/remotepdo.h"
#include "fuzz/support/fuzzcheck.h"

namespace setforge {

namespace {

bool validUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t more = c < 0x80           ? 0
                                 : (c >> 5) == 0x6  ? 1
                                 : (c >> 4) == 0xE  ? 2
                                 : (c >> 3) == 0x1E ? 3
                                                    : 9;
        if (more == 9 || i + more >= text.size())
            return false;
        for (std::size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += more + 1;
    }
    return true;
}

std::size_t lineCount(std::string_view text)
{
    std::size_t lines = 1;
    for (char c : text)
        if (c == '\n')
            ++lines;
    return lines;
}

void checkDevice(const EdsDevice& device)
{
    FUZZ_CHECK(validUtf8(device.vendorName) && validUtf8(device.productName), "device texts are UTF-8");
    for (std::size_t i = 0; i < device.objects.size(); ++i) {
        const EdsObject& object = device.objects[i];
        if (i > 0)
            FUZZ_CHECK(device.objects[i - 1].index < object.index, "objects ordered and unique by index");
        FUZZ_CHECK(validUtf8(object.name), "object name is UTF-8");
        FUZZ_CHECK(object.objectType == kObjectVar || object.objectType == kObjectArray ||
                       object.objectType == kObjectRecord,
                   "object type is VAR, ARRAY or RECORD");
        if (object.objectType == kObjectVar)
            FUZZ_CHECK(object.entries.size() == 1 && object.entries[0].subIndex == 0,
                       "a VAR holds sub-index 0");
        for (std::size_t k = 0; k < object.entries.size(); ++k) {
            const EdsEntry& entry = object.entries[k];
            FUZZ_CHECK(entry.index == object.index, "entry index is its object's");
            if (k > 0)
                FUZZ_CHECK(object.entries[k - 1].subIndex < entry.subIndex, "entries ordered and unique");
            FUZZ_CHECK(validUtf8(entry.name) && validUtf8(entry.defaultValue) && validUtf8(entry.lowLimit) &&
                           validUtf8(entry.highLimit),
                       "entry texts are UTF-8");
            FUZZ_CHECK(entry.access == "ro" || entry.access == "wo" || entry.access == "rw" ||
                           entry.access == "rwr" || entry.access == "rww" || entry.access == "const",
                       "access is one of the six");
            FUZZ_CHECK(device.findEntry(entry.index, entry.subIndex) == &entry, "findEntry finds each entry");
            (void)resolvedDefault(entry, 127);
        }
    }
    for (const bool transmit : {false, true}) {
        for (const int node : {1, 127}) {
            for (const RemotePdo& pdo : listDefaultPdos(device, transmit, node)) {
                int bits = 0;
                for (const RemotePdoObject& mapped : pdo.mapped) {
                    FUZZ_CHECK(mapped.firstByte == bits / 8 + 1, "mapped objects follow each other");
                    bits += mapped.bits;
                }
                FUZZ_CHECK(bits == pdo.bits, "PDO length is the sum of its objects");
                FUZZ_CHECK(pdo.cobId <= 0x1FFFFFFF, "COB-ID within 29 bits");
                (void)describePdoBytes(pdo);
            }
        }
    }
}

} // namespace

} // namespace setforge

using namespace setforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Result<EdsRead> plain = readEdsText(text);
    if (!plain) {
        FUZZ_CHECK(!plain.error().text.empty(), "an error has its reason");
        FUZZ_CHECK(plain.error().line.value_or(0) <= lineCount(text), "an error line lies inside the text");
    } else {
        checkDevice(plain->device);
    }
    const Result<EdsRead> forNode = readEdsText(text, 127);
    if (forNode)
        FUZZ_CHECK(static_cast<bool>(plain), "a text that reads for a node reads without one");
    else
        FUZZ_CHECK(!forNode.error().text.empty(), "an error has its reason");
    return 0;
}

// A ParGen.xml of any bytes through the communication parameters' model, as the dialog uses
// it: load, check, save, load again. What must hold: the checks report only their own
// messages, the first of them being what OK reports; the saved file is well-formed, holds
// every element once in the file's fixed order whatever the values, and ends with the version
// comment; loading it gives exactly the values saved, and saving those gives the same bytes.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/paths.h"
#include "core/base/xmlfile.h"
#include "core/tables/pargencheck.h"
#include "core/tables/pargenfile.h"
#include "fuzz/support/fuzzcheck.h"
#include "fuzz/support/savedshape.h"
#include "fuzz/support/scratchdir.h"

namespace setforge {

namespace {

// The elements of ParGen.xml in the order every save writes them.
constexpr std::array<std::string_view, 32> kElementOrder = {
    "Select_Device_Type",
    "CAN_id",
    "CAN_Baud",
    "operational_at_start",
    "network_start",
    "delay_network_start",
    "network_start_modbus",
    "network_start_modbus",
    "CAN_timeoutsdo",
    "sync_producer",
    "send_frame_nodeguard",
    "M_ser",
    "M_baud",
    "M_parity",
    "MODBUS_SLAVE_STOPBITS",
    "M_devid",
    "Ser_Prot",
    "MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY",
    "MODBUS_SLAVE_TIMEOUT_INACTIVITY",
    "Ethernet_IP1",
    "Ethernet_IP2",
    "Ethernet_IP3",
    "Ethernet_IP4",
    "Ethernet_SM1",
    "Ethernet_SM2",
    "Ethernet_SM3",
    "Ethernet_SM4",
    "Ethernet_GAT1",
    "Ethernet_GAT2",
    "Ethernet_GAT3",
    "Ethernet_GAT4",
    "Ethernet_EN_GAT",
};

// The messages the checks may report.
bool isCheckMessage(int index)
{
    return (index >= 467 && index <= 486) || index == 493;
}

std::string savedText(const ParGenValues& values)
{
    pugi::xml_document doc;
    buildParGenDocument(values, doc);
    return serializeXml(doc);
}

void checkSavedShape(const std::string& saved)
{
    pugi::xml_document doc;
    FUZZ_CHECK(loadXmlText(saved, doc), "the saved ParGen.xml must be well-formed");
    const pugi::xml_node root = doc.first_child();
    FUZZ_CHECK(startsWithRoot(saved, kParGenRoot) && std::string_view(root.name()) == kParGenRoot,
               "Par_Gen must be the saved document's first node");
    FUZZ_CHECK(endsWithVersionComment(saved), "the version comment must end the saved ParGen.xml");
    std::size_t k = 0;
    for (pugi::xml_node element : root.children()) {
        FUZZ_CHECK(element.type() == pugi::node_element, "Par_Gen must hold only elements");
        FUZZ_CHECK(k < kElementOrder.size() && element.name() == kElementOrder[k],
                   "the saved elements must follow the file's order");
        ++k;
    }
    FUZZ_CHECK(k == kElementOrder.size(), "every element must be saved");
}

} // namespace

} // namespace setforge

using namespace setforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    pugi::xml_document doc;
    if (!loadXmlText(text, doc))
        return 0; // the dialog shows the parser's text and keeps its values
    const ParGenValues loaded = parGenFromRoot(documentRoot(doc));

    const std::vector<int> failures = parGenFailures(loaded);
    for (int index : failures)
        FUZZ_CHECK(isCheckMessage(index), "a check must report one of its own messages");
    FUZZ_CHECK(firstParGenFailure(loaded) == (failures.empty() ? 0 : failures.front()),
               "OK must report the first failing check");

    const std::string saved = savedText(loaded);
    checkSavedShape(saved);

    const std::string path = joinPath(ScratchDir::fresh("pargen"), "ParGen.xml");
    FUZZ_CHECK(static_cast<bool>(saveParGen(loaded, path)), "ParGen.xml must save");
    const Result<ParGenValues> reloaded = loadParGen(path);
    FUZZ_CHECK(static_cast<bool>(reloaded), "the saved ParGen.xml must load");
    FUZZ_CHECK(*reloaded == loaded, "the saved ParGen.xml must load to the values saved");
    FUZZ_CHECK(savedText(*reloaded) == saved, "saving the reloaded values must give the same bytes");
    return 0;
}

#include "core/nodes/pdorowfill.h"

#include <algorithm>
#include <string>

#include "core/lang/textid.h"
#include "core/lang/uitexts.h"
#include "core/nodes/edsvalue.h"
#include "core/tables/grid.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"

namespace setforge {

namespace {

struct PdoColumns {
    int cobId;
    int dimension;
    int mnemonic;
};

constexpr PdoColumns kReceiveColumns{RpdoColumn::CobId, RpdoColumn::Dimension, RpdoColumn::Mnemonic};
constexpr PdoColumns kTransmitColumns{TpdoColumn::CobId, TpdoColumn::Dimension, TpdoColumn::Mnemonic};

// A frame may be missed twice before the converter calls the node silent.
constexpr int kTimeoutPeriods = 3;

// `text` with "%1", "%2" replaced by `first` and `second`.
std::string withValues(std::string text, const std::string& first, const std::string& second = {})
{
    for (const auto& [mark, value] : {std::pair<std::string, std::string>{"%1", first}, {"%2", second}})
        if (const std::size_t at = text.find(mark); at != std::string::npos)
            text.replace(at, mark.size(), value);
    return text;
}

std::string typeText(const RemotePdo& pdo)
{
    return pdo.transmissionType >= 0 ? std::to_string(pdo.transmissionType) : std::string("-");
}

} // namespace

std::string pdoUnusableReason(const RemotePdo& pdo, const UiTexts& texts)
{
    if (!pdo.valid)
        return texts.at(TextId::NodePdoSwitchedOff);
    if (pdo.bits <= 0)
        return texts.at(TextId::NodePdoMapsNothing);
    return {};
}

Result<std::vector<std::string>> fillPdoRow(Grid& grid, int row, PdoTableKind table, const RemotePdo& pdo,
                                            int nodeId, DeviceVariant variant, const UiTexts& texts)
{
    if (!pdo.usable())
        return makeError(pdoUnusableReason(pdo, texts));
    std::vector<std::string> choices;
    if (row < 1 || row > grid.rowCount())
        return choices;
    const bool receive = table == PdoTableKind::Receive;
    const PdoColumns& columns = receive ? kReceiveColumns : kTransmitColumns;
    std::string mnemonic =
        "Node " + std::to_string(nodeId) + (pdo.transmit ? " TPDO" : " RPDO") + std::to_string(pdo.number);
    if (!pdo.mapped.empty())
        mnemonic += ": " + pdo.mappedNames();
    grid.setCell(row, columns.cobId, hexText(pdo.cobId));
    grid.setCell(row, columns.dimension, std::to_string(pdo.bytes()));
    grid.setCell(row, columns.mnemonic, mnemonic);
    if (variant != DeviceVariant::WithEthernet)
        return choices; // the variant hides the time-out and the triggers

    const bool hasTimer = pdo.eventTimer > 0;
    if (receive) {
        const int timeout = hasTimer ? kTimeoutPeriods * pdo.eventTimer : 0;
        grid.setCell(row, RpdoColumn::Timeout, std::to_string(timeout));
        choices.push_back(hasTimer ? withValues(texts.at(TextId::NodeFillTimeout), std::to_string(timeout),
                                                std::to_string(pdo.eventTimer))
                                   : texts.at(TextId::NodeFillNoTimeout));
        return choices;
    }
    grid.setCell(row, TpdoColumn::OnChange, "Y");
    choices.push_back(withValues(texts.at(TextId::NodeFillOnChange), typeText(pdo)));
    if (hasTimer) {
        const int timer = std::max(1, pdo.eventTimer / 2);
        grid.setCell(row, TpdoColumn::OnTimer, "Y");
        grid.setCell(row, TpdoColumn::Timer, std::to_string(timer));
        choices.push_back(withValues(texts.at(TextId::NodeFillOnTimer), std::to_string(timer),
                                     std::to_string(pdo.eventTimer)));
    } else {
        grid.setCell(row, TpdoColumn::OnTimer, "N");
        choices.push_back(texts.at(TextId::NodeFillNoTimer));
    }
    return choices;
}

} // namespace setforge

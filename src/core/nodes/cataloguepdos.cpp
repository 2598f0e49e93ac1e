#include "core/nodes/cataloguepdos.h"

#include "core/nodes/edsreader.h"
#include "core/nodes/edsvalue.h"
#include "core/nodes/nodecatalog.h"

namespace setforge {

void CataloguePdos::load(std::string_view projectDir, bool nodeTransmits)
{
    m_pdos.clear();
    NodeCatalog catalog;
    if (!catalog.load(projectDir))
        return;
    for (const NodeCatalog::Node& node : catalog.nodes()) {
        const Result<EdsRead> read = readEdsFile(NodeCatalog::edsPath(projectDir, node), node.nodeId);
        if (!read)
            continue;
        for (RemotePdo& pdo : listDefaultPdos(read->device, nodeTransmits, node.nodeId))
            m_pdos.emplace(pdo.cobId, std::move(pdo));
    }
}

const RemotePdo* CataloguePdos::find(std::uint32_t cobId) const
{
    const auto found = m_pdos.find(cobId);
    return found == m_pdos.end() ? nullptr : &found->second;
}

std::string CataloguePdos::describeByte(const RemotePdo& pdo, int byteNumber)
{
    for (const RemotePdoObject& object : pdo.mapped) {
        const int last = object.firstByte + (object.bits + 7) / 8 - 1;
        if (byteNumber >= object.firstByte && byteNumber <= last) {
            std::string text = hexText(object.index, 4);
            if (object.subIndex != 0) {
                text += '.';
                text += std::to_string(object.subIndex);
            }
            if (!object.name.empty())
                text += " " + object.name;
            return text;
        }
    }
    return "";
}

} // namespace setforge

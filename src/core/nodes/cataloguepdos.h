#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "core/nodes/remotepdo.h"

namespace setforge {

// The default PDOs of every node in a project's catalogue, by COB-ID: what the mapping
// editors use to say what each data byte of a frame carries.
class CataloguePdos {
public:
    // Reads projectDir's Nodes.xml and each node's EDS copy, keeping the nodes' transmit PDOs
    // (`nodeTransmits`) or receive PDOs. A catalogue or EDS that cannot be read adds nothing;
    // the first PDO found for a COB-ID stays.
    void load(std::string_view projectDir, bool nodeTransmits);

    // The PDO with `cobId`, or nullptr.
    const RemotePdo* find(std::uint32_t cobId) const;

    // "0x6041 Statusword" for the object that data byte `byteNumber` (1-based) of `pdo`
    // carries, "" when no mapped object covers that byte.
    static std::string describeByte(const RemotePdo& pdo, int byteNumber);

private:
    std::map<std::uint32_t, RemotePdo> m_pdos;
};

} // namespace setforge

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setforge {

// One addressable entry of an EDS: a VAR object (sub-index 0) or a sub-object of an ARRAY or
// RECORD. Texts are UTF-8 as the file gives them, trimmed.
struct EdsEntry {
    std::uint16_t index = 0;
    std::uint8_t subIndex = 0;
    std::string name;           // ParameterName
    std::uint16_t dataType = 0; // DataType code
    std::string access;         // AccessType in lower case: ro, wo, rw, rwr, rww or const
    bool pdoMapping = false;    // PDOMapping=1
    std::string defaultValue;   // DefaultValue as written ($NODEID unresolved)
    std::string lowLimit;       // LowLimit as written, "" when absent
    std::string highLimit;      // HighLimit as written, "" when absent
    int line = 0;               // 1-based line of the entry's section header

    // The size in bytes of the data type, 0 when not fixed or unknown.
    int bytes() const;
    // True for ro and const, the entries an SDO client can only read.
    bool readOnly() const { return access == "ro" || access == "const"; }
};

// ObjectType codes.
inline constexpr std::uint8_t kObjectVar = 0x7;
inline constexpr std::uint8_t kObjectArray = 0x8;
inline constexpr std::uint8_t kObjectRecord = 0x9;

// One object [XXXX] with its entries: a VAR holds one entry with sub-index 0; an ARRAY or a
// RECORD one entry per sub-object, ordered by sub-index.
struct EdsObject {
    std::uint16_t index = 0;
    std::string name;
    std::uint8_t objectType = kObjectVar;
    int line = 0;
    std::vector<EdsEntry> entries;
};

// What an EDS or DCF says about a device.
struct EdsDevice {
    std::string vendorName;         // [DeviceInfo] VendorName
    std::string productName;        // [DeviceInfo] ProductName
    int nrOfRxPdo = 0;              // [DeviceInfo] NrOfRXPDO, 0 when absent
    int nrOfTxPdo = 0;              // [DeviceInfo] NrOfTXPDO, 0 when absent
    std::vector<EdsObject> objects; // ordered by index

    // The object `index`, or nullptr.
    const EdsObject* findObject(std::uint16_t index) const;
    // The entry `index`/`subIndex`, or nullptr.
    const EdsEntry* findEntry(std::uint16_t index, std::uint8_t subIndex) const;
};

} // namespace setforge

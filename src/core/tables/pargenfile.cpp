#include "core/tables/pargenfile.h"

#include "core/base/paths.h"
#include "core/base/textint.h"
#include "core/tables/pargenelements.h"

namespace setforge {

namespace PG = ParGenName;

namespace {

// The kbit/s texts stored for the items of kCanBaudItems, in the same order.
constexpr std::array<const char*, 9> kCanBaudFileTexts = {"10",  "20",  "50",  "100", "125",
                                                          "250", "500", "800", "1000"};
constexpr const char* kCanBaudFallbackText = "250";
constexpr int kCanBaudFallbackIndex = 8;

enum class Kind {
    Text,      // typed text, stored unchanged
    ListIndex, // list item index as decimal text
    CanBaud,   // CAN bit-rate list, stored as kbit/s text
    FlagTrue,  // check box as "true" / "false" attribute
    FlagOne,   // check box as "1" / "0" element text
};

// Where a field sits in the file.
enum class Place {
    OwnElement,      // a new element, found by its name when read
    PreviousElement, // one more attribute of the element written just before
    FollowingFirst,  // a new element; read from whatever element follows the first one so named
};

struct Field {
    const char* element;
    const char* attribute; // nullptr: the element's text
    Kind kind;
    Place place;
    int readDefault; // ListIndex only: the index a text that is not a number gives
    std::string* (*text)(ParGenValues&);
    int* (*index)(ParGenValues&);
    bool* (*flag)(ParGenValues&);
};

template <std::string ParGenValues::*M> std::string* textOf(ParGenValues& v)
{
    return &(v.*M);
}
template <int ParGenValues::*M> int* indexOf(ParGenValues& v)
{
    return &(v.*M);
}
template <bool ParGenValues::*M> bool* flagOf(ParGenValues& v)
{
    return &(v.*M);
}
template <std::array<std::string, 4> ParGenValues::*M, int I> std::string* byteOf(ParGenValues& v)
{
    return &(v.*M)[I];
}

constexpr Field text(const char* element, std::string* (*get)(ParGenValues&))
{
    return {element, nullptr, Kind::Text, Place::OwnElement, 0, get, nullptr, nullptr};
}
constexpr Field list(const char* element, int readDefault, int* (*get)(ParGenValues&))
{
    return {element, nullptr, Kind::ListIndex, Place::OwnElement, readDefault, nullptr, get, nullptr};
}
constexpr Field flagText(const char* element, bool* (*get)(ParGenValues&))
{
    return {element, nullptr, Kind::FlagOne, Place::OwnElement, 0, nullptr, nullptr, get};
}
constexpr Field flagAttr(const char* element, const char* attribute, Place place, bool* (*get)(ParGenValues&))
{
    return {element, attribute, Kind::FlagTrue, place, 0, nullptr, nullptr, get};
}
constexpr Field textAttr(const char* element, const char* attribute, Place place,
                         std::string* (*get)(ParGenValues&))
{
    return {element, attribute, Kind::Text, place, 0, get, nullptr, nullptr};
}

using V = ParGenValues;
constexpr Place Own = Place::OwnElement;
constexpr Place Prev = Place::PreviousElement;

// The file, in write order. Readers look each element up by name, except the start register.
const Field kFields[] = {
    list(PG::kDeviceType, 0, indexOf<&V::deviceType>),
    text(PG::kCanId, textOf<&V::canId>),
    {PG::kCanBaud, nullptr, Kind::CanBaud, Own, 0, nullptr, indexOf<&V::canBaud>, nullptr},
    flagAttr(PG::kOperationalAtStart, PG::kStart, Own, flagOf<&V::operationalAtStart>),
    flagAttr(PG::kNetworkStart, PG::kStart, Own, flagOf<&V::networkStart>),
    textAttr(PG::kNetworkStartDelay, PG::kDelay, Own, textOf<&V::networkStartDelay>),
    flagAttr(PG::kNetworkStartModbus, PG::kStart, Own, flagOf<&V::startOnModbus>),
    textAttr(PG::kNetworkStartModbus, PG::kAddress, Place::FollowingFirst, textOf<&V::startOnModbusAddress>),
    text(PG::kSdoTimeout, textOf<&V::sdoTimeout>),
    flagAttr(PG::kSyncProducer, PG::kSyncEnable, Own, flagOf<&V::syncEnable>),
    textAttr(PG::kSyncProducer, PG::kSyncTime, Prev, textOf<&V::syncTime>),
    flagAttr(PG::kNodeGuardFrame, PG::kGuardEnable, Own, flagOf<&V::nodeguardEnable>),
    textAttr(PG::kNodeGuardFrame, PG::kGuardRegister1, Prev, textOf<&V::nodeguardAddress1>),
    textAttr(PG::kNodeGuardFrame, PG::kGuardRegister2, Prev, textOf<&V::nodeguardAddress2>),
    list(PG::kModbusSerial, 0, indexOf<&V::modbusSerial>),
    list(PG::kModbusBaud, 7, indexOf<&V::modbusBaud>),
    list(PG::kModbusParity, 0, indexOf<&V::modbusParity>),
    list(PG::kModbusStopBits, 0, indexOf<&V::modbusStopBits>),
    text(PG::kModbusId, textOf<&V::modbusId>),
    list(PG::kModbusProtocol, 0, indexOf<&V::modbusProtocol>),
    flagText(PG::kInactivityEnable, flagOf<&V::inactivityEnable>),
    text(PG::kInactivityTimeout, textOf<&V::inactivityTimeout>),
    text(PG::kIp[0], byteOf<&V::ip, 0>),
    text(PG::kIp[1], byteOf<&V::ip, 1>),
    text(PG::kIp[2], byteOf<&V::ip, 2>),
    text(PG::kIp[3], byteOf<&V::ip, 3>),
    text(PG::kSubnetMask[0], byteOf<&V::subnetMask, 0>),
    text(PG::kSubnetMask[1], byteOf<&V::subnetMask, 1>),
    text(PG::kSubnetMask[2], byteOf<&V::subnetMask, 2>),
    text(PG::kSubnetMask[3], byteOf<&V::subnetMask, 3>),
    text(PG::kGateway[0], byteOf<&V::gateway, 0>),
    text(PG::kGateway[1], byteOf<&V::gateway, 1>),
    text(PG::kGateway[2], byteOf<&V::gateway, 2>),
    text(PG::kGateway[3], byteOf<&V::gateway, 3>),
    flagText(PG::kGatewayEnable, flagOf<&V::gatewayEnable>),
};

// The element a field is read from, or an empty node when the file has none.
pugi::xml_node findElement(const pugi::xml_node& root, const Field& field)
{
    const pugi::xml_node named = childElement(root, field.element);
    if (field.place == Place::FollowingFirst)
        return named ? nextElement(named) : pugi::xml_node();
    return named;
}

void readField(const pugi::xml_node& element, const Field& field, ParGenValues& values)
{
    // An element that is there but lacks the attribute reads as the empty text.
    const std::string stored =
        field.attribute ? std::string(element.attribute(field.attribute).value()) : elementText(element);
    switch (field.kind) {
    case Kind::Text:
        *field.text(values) = stored;
        break;
    case Kind::ListIndex:
        *field.index(values) = textToInt(stored, field.readDefault);
        break;
    case Kind::CanBaud:
        *field.index(values) = canBaudIndex(stored);
        break;
    case Kind::FlagTrue:
        *field.flag(values) = stored == "true";
        break;
    case Kind::FlagOne:
        *field.flag(values) = stored == "1";
        break;
    }
}

std::string storedText(const Field& field, ParGenValues& values)
{
    switch (field.kind) {
    case Kind::Text:
        return *field.text(values);
    case Kind::ListIndex:
        return std::to_string(*field.index(values));
    case Kind::CanBaud: {
        const int index = *field.index(values);
        const bool inList = index >= 0 && index < static_cast<int>(kCanBaudItems.size());
        return canBaudFileText(inList ? kCanBaudItems[static_cast<std::size_t>(index)] : "");
    }
    case Kind::FlagTrue:
        return *field.flag(values) ? "true" : "false";
    case Kind::FlagOne:
        return *field.flag(values) ? "1" : "0";
    }
    return {};
}

} // namespace

std::string canBaudFileText(std::string_view baud)
{
    for (std::size_t i = 0; i < kCanBaudItems.size(); ++i)
        if (baud == kCanBaudItems[i])
            return kCanBaudFileTexts[i];
    return kCanBaudFallbackText;
}

int canBaudIndex(std::string_view baud)
{
    for (std::size_t i = 0; i < kCanBaudFileTexts.size(); ++i)
        if (baud == kCanBaudFileTexts[i])
            return static_cast<int>(i);
    return kCanBaudFallbackIndex;
}

ParGenValues parGenFromRoot(const pugi::xml_node& root)
{
    ParGenValues values;
    values.deviceType = kDeviceTypeWhenElementMissing;
    for (const Field& field : kFields) {
        const pugi::xml_node element = findElement(root, field);
        if (element)
            readField(element, field, values);
    }
    return values;
}

Result<ParGenValues> loadParGen(std::string_view utf8Path)
{
    pugi::xml_document doc;
    const Result<XmlFile> loaded = loadXmlFile(utf8Path, doc);
    if (!loaded)
        return loaded.error();
    if (*loaded == XmlFile::Missing)
        return ParGenValues{};
    return parGenFromRoot(documentRoot(doc));
}

void buildParGenDocument(const ParGenValues& values, pugi::xml_document& doc)
{
    ParGenValues copy = values; // the field table reaches values through non-const accessors
    pugi::xml_node root = startTableDocument(doc, kParGenRoot);
    pugi::xml_node element;
    for (const Field& field : kFields) {
        if (field.place != Place::PreviousElement || !element)
            element = root.append_child(field.element);
        const std::string stored = storedText(field, copy);
        if (field.attribute)
            element.append_attribute(field.attribute).set_value(stored.c_str());
        else if (!stored.empty())
            element.text().set(stored.c_str());
    }
}

Result<void> saveParGen(const ParGenValues& values, std::string_view utf8Path)
{
    pugi::xml_document doc;
    buildParGenDocument(values, doc);
    return saveXmlFile(doc, utf8Path);
}

int readDeviceType(std::string_view parGenPath)
{
    if (parGenPath.empty() || !pathExists(parGenPath))
        return 0;
    pugi::xml_document doc;
    if (!wasRead(loadXmlFile(parGenPath, doc)))
        return 0;
    return deviceTypeOf(documentRoot(doc));
}

int deviceTypeOf(const pugi::xml_node& root)
{
    const pugi::xml_node element = childElement(root, PG::kDeviceType);
    if (!element)
        return 0;
    return textToInt(elementText(element), 0);
}

} // namespace setforge

#include "core/nodes/edsreader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#include "core/base/asciitext.h"
#include "core/base/paths.h"
#include "core/nodes/edsdatatype.h"
#include "core/nodes/edsvalue.h"
#include "core/nodes/inifile.h"

namespace setforge {

namespace {

// Where an object section's name says it belongs.
struct SectionName {
    enum class Kind { None, Object, Sub, Names, Values } kind = Kind::None;
    std::uint16_t index = 0;
    std::uint8_t subIndex = 0;
};

bool readHex(std::string_view text, std::size_t maxDigits, unsigned& value)
{
    if (text.empty() || text.size() > maxDigits)
        return false;
    value = 0;
    for (char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        value = value * 16 + digit;
    }
    return true;
}

SectionName classify(std::string_view name)
{
    const std::string lower = lowerAscii(name);
    const std::string_view view(lower);
    // The index is at most four hex digits; try the longest first, so "1a00sub1" is 0x1A00.
    for (std::size_t length = std::min<std::size_t>(4, view.size()); length >= 1; --length) {
        unsigned index = 0;
        if (!readHex(view.substr(0, length), 4, index))
            continue;
        SectionName result;
        result.index = static_cast<std::uint16_t>(index);
        const std::string_view rest = view.substr(length);
        unsigned sub = 0;
        if (rest.empty())
            result.kind = SectionName::Kind::Object;
        else if (rest == "name")
            result.kind = SectionName::Kind::Names;
        else if (rest == "value")
            result.kind = SectionName::Kind::Values;
        else if (rest.substr(0, 3) == "sub" && readHex(rest.substr(3), 2, sub)) {
            result.kind = SectionName::Kind::Sub;
            result.subIndex = static_cast<std::uint8_t>(sub);
        }
        return result;
    }
    return SectionName{};
}

bool isSignedType(std::uint16_t code)
{
    switch (code) {
    case 0x0002: // INTEGER8
    case 0x0003: // INTEGER16
    case 0x0004: // INTEGER32
    case 0x0010: // INTEGER24
    case 0x0012: // INTEGER40
    case 0x0013: // INTEGER48
    case 0x0014: // INTEGER56
    case 0x0015: // INTEGER64
        return true;
    default:
        return false;
    }
}

// The range of an integer type as text ("0 to 255"), or "" when `number` fits the type. Signed
// types also take their bit pattern written as an unsigned number (0xFFFF for -1 in INTEGER16),
// as many EDS files write them; types without a fixed integer size are not checked.
std::string beyondRange(std::uint16_t dataType, const EdsNumber& number)
{
    const int bytes = edsDataTypeBytes(dataType);
    if (bytes <= 0 || bytes > 8)
        return {};
    const int bits = dataType == 0x0001 ? 1 : bytes * 8; // BOOLEAN holds 0 or 1
    const std::uint64_t unsignedMax = bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
    if (isSignedType(dataType)) {
        const std::uint64_t negativeMax = std::uint64_t{1} << (bits - 1); // the magnitude of the lowest
        if (number.negative ? number.value <= negativeMax : number.value <= unsignedMax)
            return {};
        return "-" + std::to_string(negativeMax) + " to " + std::to_string(negativeMax - 1);
    }
    if (!number.negative && number.value <= unsignedMax)
        return {};
    return "0 to " + std::to_string(unsignedMax);
}

// The highest node ID, at which a $NODEID value is checked when no node is given.
constexpr int kHighestNodeId = 127;

class Reader {
public:
    Reader(const IniFile& ini, std::optional<int> nodeId) : m_ini(ini), m_nodeId(nodeId)
    {
        m_result.warnings = ini.warnings();
    }

    bool fail(std::string reason, int line)
    {
        if (!m_error)
            m_error = makeError(std::move(reason), {},
                                line > 0 ? std::optional<std::size_t>(static_cast<std::size_t>(line))
                                         : std::nullopt);
        return false;
    }

    std::string label(const IniFile::Section& section) const { return "[" + section.name + "]"; }

    const std::string* value(const IniFile::Section& section, std::string_view key) const
    {
        const IniFile::Entry* entry = IniFile::find(section, key);
        return entry ? &entry->value : nullptr;
    }

    int lineOf(const IniFile::Section& section, std::string_view key) const
    {
        const IniFile::Entry* entry = IniFile::find(section, key);
        return entry ? entry->line : section.line;
    }

    // A plain number (no $NODEID) within 0..max.
    bool readPlain(const IniFile::Section& section, std::string_view key, std::uint64_t max,
                   std::uint64_t& out)
    {
        const std::string* text = value(section, key);
        const Result<EdsNumber> number = readEdsNumber(*text, std::nullopt);
        const int line = lineOf(section, key);
        if (!number)
            return fail(label(section) + " " + std::string(key) + ": " + number.error().text, line);
        if (number->usesNodeId || number->negative)
            return fail(label(section) + " " + std::string(key) + " '" + *text + "' must be a plain number",
                        line);
        if (number->value > max)
            return fail(label(section) + " " + std::string(key) + " '" + *text + "' is out of range", line);
        out = number->value;
        return true;
    }

    // Notes a value of `key` that its data type cannot hold; a $NODEID value without a node is
    // checked for the highest node ID.
    void checkRange(const IniFile::Section& section, std::string_view key, const std::string& text,
                    std::uint16_t dataType)
    {
        const int node = m_nodeId.value_or(kHighestNodeId);
        const Result<EdsNumber> number = readEdsNumber(text, node);
        if (!number)
            return;
        const std::string range = beyondRange(dataType, *number);
        if (range.empty())
            return;
        m_result.warnings.push_back("line " + std::to_string(lineOf(section, key)) + ": " + label(section) +
                                    " " + std::string(key) + " '" + text + "' is beyond " +
                                    edsDataTypeName(dataType) + " (" + range + ")" +
                                    (number->usesNodeId ? " for node " + std::to_string(node) : ""));
    }

    // Reads the fields every VAR object and sub-object has into `entry`.
    bool readVariable(const IniFile::Section& section, EdsEntry& entry, const EdsEntry* inherit)
    {
        entry.line = section.line;
        if (const std::string* name = value(section, "ParameterName"))
            entry.name = *name;
        if (value(section, "DataType") != nullptr) {
            std::uint64_t code = 0;
            if (!readPlain(section, "DataType", 0xFFFF, code))
                return false;
            entry.dataType = static_cast<std::uint16_t>(code);
        } else if (inherit != nullptr) {
            entry.dataType = inherit->dataType;
        } else {
            return fail(label(section) + " has no DataType", section.line);
        }
        if (const std::string* access = value(section, "AccessType")) {
            entry.access = lowerAscii(*access);
            static const char* const kAccess[] = {"ro", "wo", "rw", "rwr", "rww", "const"};
            if (std::find_if(std::begin(kAccess), std::end(kAccess),
                             [&](const char* a) { return entry.access == a; }) == std::end(kAccess))
                return fail(label(section) + " AccessType '" + *access +
                                "' is not ro, wo, rw, rwr, rww or const",
                            lineOf(section, "AccessType"));
        } else if (inherit != nullptr) {
            entry.access = inherit->access;
        } else {
            m_result.warnings.push_back("line " + std::to_string(section.line) + ": " + label(section) +
                                        " has no AccessType; taken as ro");
            entry.access = "ro";
        }
        if (value(section, "PDOMapping") != nullptr) {
            std::uint64_t mapping = 0;
            if (!readPlain(section, "PDOMapping", 1, mapping))
                return false;
            entry.pdoMapping = mapping == 1;
        } else if (inherit != nullptr) {
            entry.pdoMapping = inherit->pdoMapping;
        }
        const bool numeric =
            !isEdsStringType(entry.dataType) && entry.dataType != 0x0008 && entry.dataType != 0x0011;
        for (const auto& [key, field] :
             {std::pair<const char*, std::string*>{"DefaultValue", &entry.defaultValue},
              {"LowLimit", &entry.lowLimit},
              {"HighLimit", &entry.highLimit}}) {
            const std::string* text = value(section, key);
            if (text == nullptr) {
                if (inherit != nullptr && std::string_view(key) == "DefaultValue")
                    *field = inherit->defaultValue;
                continue;
            }
            *field = *text;
            if (numeric && !text->empty()) {
                const Result<EdsNumber> number = readEdsNumber(*text, m_nodeId);
                if (!number)
                    return fail(label(section) + " " + key + ": " + number.error().text,
                                lineOf(section, key));
                checkRange(section, key, *text, entry.dataType);
            }
        }
        return true;
    }

    bool readObject(const IniFile::Section& section, std::uint16_t index, EdsObject& object)
    {
        object.index = index;
        object.line = section.line;
        if (const std::string* name = value(section, "ParameterName"))
            object.name = *name;
        // CiA 306: an object without ObjectType is a VAR.
        std::uint64_t type = kObjectVar;
        if (value(section, "ObjectType") != nullptr && !readPlain(section, "ObjectType", 0xFF, type))
            return false;
        if (type == 0x2) // DOMAIN object: a VAR of type DOMAIN
            type = kObjectVar;
        if (type == 0x0 || type == 0x5 || type == 0x6) {
            // NULL, DEFTYPE and DEFSTRUCT describe types, not data a node holds.
            object.objectType = 0;
            return true;
        }
        if (type != kObjectVar && type != kObjectArray && type != kObjectRecord)
            return fail(label(section) + " ObjectType " + hexText(type) +
                            " is not VAR (0x7), ARRAY (0x8) or RECORD (0x9)",
                        lineOf(section, "ObjectType"));
        object.objectType = static_cast<std::uint8_t>(type);
        if (object.objectType == kObjectVar) {
            EdsEntry entry;
            entry.index = index;
            if (!readVariable(section, entry, nullptr))
                return false;
            object.entries.push_back(std::move(entry));
            return true;
        }
        std::uint64_t compact = 0;
        if (value(section, "CompactSubObj") != nullptr && !readPlain(section, "CompactSubObj", 0xFE, compact))
            return false;
        if (compact > 0)
            return readCompact(section, object, static_cast<int>(compact));
        return true;
    }

    // CompactSubObj=n: sub-index 0 holds n, sub-indexes 1..n share the object's type and access;
    // names come from [XXXXName] (else the object's name with the sub-index), defaults from
    // [XXXXValue] (else the object's DefaultValue).
    bool readCompact(const IniFile::Section& section, EdsObject& object, int count)
    {
        EdsEntry pattern;
        pattern.index = object.index;
        if (!readVariable(section, pattern, nullptr))
            return false;
        EdsEntry highest;
        highest.index = object.index;
        highest.subIndex = 0;
        highest.name = "Highest sub-index supported";
        highest.dataType = 0x0005;
        highest.access = "ro";
        highest.defaultValue = std::to_string(count);
        highest.line = section.line;
        object.entries.push_back(highest);
        const std::string prefix = hexText(object.index, 4).substr(2);
        const IniFile::Section* names = m_ini.find(prefix + "Name");
        const IniFile::Section* values = m_ini.find(prefix + "Value");
        for (int sub = 1; sub <= count; ++sub) {
            EdsEntry entry = pattern;
            entry.subIndex = static_cast<std::uint8_t>(sub);
            entry.name = object.name + " " + std::to_string(sub);
            if (names != nullptr)
                if (const std::string* name = value(*names, std::to_string(sub)))
                    entry.name = *name;
            if (values != nullptr) {
                if (const std::string* text = value(*values, std::to_string(sub))) {
                    entry.defaultValue = *text;
                    if (!isEdsStringType(entry.dataType) && !text->empty()) {
                        const Result<EdsNumber> number = readEdsNumber(*text, m_nodeId);
                        if (!number)
                            return fail(label(*values) + " " + std::to_string(sub) + ": " +
                                            number.error().text,
                                        lineOf(*values, std::to_string(sub)));
                        checkRange(*values, std::to_string(sub), *text, entry.dataType);
                    }
                }
            }
            object.entries.push_back(std::move(entry));
        }
        return true;
    }

    bool run()
    {
        if (const IniFile::Section* info = m_ini.find("DeviceInfo")) {
            if (const std::string* vendor = value(*info, "VendorName"))
                m_result.device.vendorName = *vendor;
            if (const std::string* product = value(*info, "ProductName"))
                m_result.device.productName = *product;
            std::uint64_t count = 0;
            if (value(*info, "NrOfRXPDO") != nullptr) {
                if (!readPlain(*info, "NrOfRXPDO", 512, count))
                    return false;
                m_result.device.nrOfRxPdo = static_cast<int>(count);
            }
            if (value(*info, "NrOfTXPDO") != nullptr) {
                if (!readPlain(*info, "NrOfTXPDO", 512, count))
                    return false;
                m_result.device.nrOfTxPdo = static_cast<int>(count);
            }
        }
        std::map<std::uint16_t, EdsObject> objects;
        std::vector<std::pair<SectionName, const IniFile::Section*>> subs;
        std::vector<std::uint16_t> typeSections;
        for (const IniFile::Section& section : m_ini.sections()) {
            const SectionName name = classify(section.name);
            if (name.kind == SectionName::Kind::Object) {
                EdsObject object;
                if (!readObject(section, name.index, object))
                    return false;
                if (object.objectType == 0) {
                    typeSections.push_back(name.index);
                    continue;
                }
                objects.emplace(name.index, std::move(object));
            } else if (name.kind == SectionName::Kind::Sub) {
                subs.emplace_back(name, &section);
            } else if (name.kind == SectionName::Kind::Names || name.kind == SectionName::Kind::Values) {
                const auto parent = objects.find(name.index);
                if (parent == objects.end() && m_ini.find(hexText(name.index, 4).substr(2)) == nullptr)
                    return fail(label(section) + " belongs to no object", section.line);
            }
        }
        for (const auto& [name, section] : subs) {
            const auto parent = objects.find(name.index);
            if (parent == objects.end() &&
                std::find(typeSections.begin(), typeSections.end(), name.index) != typeSections.end())
                continue;
            if (parent == objects.end())
                return fail(label(*section) + " is a sub-object without its object [" +
                                hexText(name.index, 4).substr(2) + "]",
                            section->line);
            EdsObject& object = parent->second;
            if (object.objectType == kObjectVar)
                return fail(label(*section) + " is a sub-object of a VAR", section->line);
            EdsEntry entry;
            entry.index = name.index;
            entry.subIndex = name.subIndex;
            if (!readVariable(*section, entry, nullptr))
                return false;
            const auto same = std::find_if(object.entries.begin(), object.entries.end(),
                                           [&](const EdsEntry& e) { return e.subIndex == entry.subIndex; });
            if (same != object.entries.end())
                *same = std::move(entry); // an explicit sub-object overrides a compact one
            else
                object.entries.push_back(std::move(entry));
        }
        if (objects.empty() && m_ini.find("FileInfo") == nullptr)
            return fail("neither [FileInfo] nor any object: this is not an EDS",
                        std::max(1, m_ini.lineCount()));
        for (auto& [index, object] : objects) {
            if (object.entries.empty())
                m_result.warnings.push_back(
                    "line " + std::to_string(object.line) + ": [" + hexText(index, 4).substr(2) + "] is " +
                    (object.objectType == kObjectArray ? "an ARRAY" : "a RECORD") + " without sub-objects");
            std::stable_sort(object.entries.begin(), object.entries.end(),
                             [](const EdsEntry& a, const EdsEntry& b) { return a.subIndex < b.subIndex; });
            m_result.device.objects.push_back(std::move(object));
        }
        return true;
    }

    Result<EdsRead> take()
    {
        if (m_error)
            return *std::move(m_error);
        return std::move(m_result);
    }

private:
    const IniFile& m_ini;
    std::optional<int> m_nodeId;
    EdsRead m_result;
    std::optional<Error> m_error; // the first fault
};

// The N of a "line N: ..." warning, so that the warnings of the reader and of the INI text come in line
// order.
int warningLine(const std::string& warning)
{
    int line = 0;
    for (std::size_t i = 5; i < warning.size() && warning[i] >= '0' && warning[i] <= '9'; ++i)
        line = line * 10 + (warning[i] - '0');
    return line;
}

} // namespace

std::string edsErrorMessage(const Error& error)
{
    return error.line ? "line " + std::to_string(*error.line) + ": " + error.text : error.text;
}

Result<EdsRead> readEdsText(std::string_view text, std::optional<int> nodeId)
{
    if (text.size() > kMaxEdsBytes)
        return makeError("the file holds " + std::to_string(text.size()) +
                         " bytes; an EDS is read up to 16 MiB (16777216 bytes)");
    IniFile ini;
    const Result<void> parsed = ini.parse(text);
    if (!parsed)
        return parsed.error();
    if (ini.sections().empty())
        return makeError("no [section] in the file: this is not an EDS", {},
                         static_cast<std::size_t>(std::max(1, ini.lineCount())));
    Reader reader(ini, nodeId);
    reader.run();
    Result<EdsRead> read = reader.take();
    if (read)
        std::stable_sort(
            read->warnings.begin(), read->warnings.end(),
            [](const std::string& a, const std::string& b) { return warningLine(a) < warningLine(b); });
    return read;
}

Result<EdsRead> readEdsFile(std::string_view utf8Path, std::optional<int> nodeId)
{
    const std::string name(utf8Path);
    const std::filesystem::path path = pathFromUtf8(utf8Path);
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxEdsBytes)
        return makeError(name + " holds " + std::to_string(size) +
                         " bytes; an EDS is read up to 16 MiB (16777216 bytes)");
    if (std::filesystem::is_directory(path, ec))
        return makeError(std::make_error_code(std::errc::is_a_directory).message() + ": " + name, name);
    // Devices and pipes report no size, so the limit also holds while reading.
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return makeError(std::string(std::strerror(errno)) + ": " + name, name);
    std::string text;
    char chunk[64 * 1024];
    while (in) {
        in.read(chunk, sizeof chunk);
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxEdsBytes)
            return makeError(name +
                             " holds more than 16 MiB (16777216 bytes); an EDS is read up to that size");
    }
    if (in.bad())
        return makeError(std::string(std::strerror(errno)) + ": " + name, name);
    return readEdsText(text, nodeId);
}

std::string resolvedDefault(const EdsEntry& entry, int nodeId)
{
    const Result<EdsNumber> number = readEdsNumber(entry.defaultValue, nodeId);
    if (!number || !number->usesNodeId)
        return entry.defaultValue;
    return hexText(number->value);
}

} // namespace setforge

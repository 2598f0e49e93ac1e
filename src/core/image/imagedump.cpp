#include "core/image/imagedump.h"

#include <cstdio>
#include <filesystem>

#include "core/base/paths.h"
#include "core/image/compileimages.h"
#include "core/image/emcylists.h"
#include "core/image/parameterblock.h"
#include "core/image/plainimage.h"
#include "core/image/tablearea.h"
#include "core/mapping/mappingformat.h"
#include "core/tables/sdoclienttable.h"

namespace setforge {

namespace {

std::string hex(std::uint32_t value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, static_cast<unsigned>(value));
    return buffer;
}

// A record's byte selection spelled out, found by the field names the layouts share with the
// dump: an SDO's conf, a packed selector (the plain image's poscomp and EMCY Bytes), or the
// banked mapping entries' split "high byte" and "low byte". Empty for a record without one.
std::string selectionNote(const std::uint8_t* base, const RecordLayout& layout)
{
    const Field* high = nullptr;
    const Field* low = nullptr;
    SelectedBytes of = SelectedBytes::Frame;
    for (const Field& field : layout.fields)
        if (std::string_view(field.name) == kEmergencyMapping.attributeName(MapField::Index))
            of = SelectedBytes::Emergency; // the banked emergency word entry
    for (const Field& field : layout.fields) {
        const std::string_view name = field.name;
        const std::uint32_t value = getField(base, field);
        if (name == kSdoConfAttribute)
            return sdoConfText(static_cast<std::uint8_t>(value));
        if (name == kReceivePdoMapping.attributeName(MapField::Selector))
            return std::string(name) + " " + hex(value, 2) + " (" +
                   byteSelectionText(value >> 4, value & 15, SelectedBytes::Frame) + ")";
        if (name == "Bytes") // the plain image's emergency word
            return std::string(name) + " " + hex(value, 2) + " (" +
                   byteSelectionText(value >> 4, value & 15, SelectedBytes::Emergency) + ")";
        if (name == "high byte")
            high = &field;
        if (name == "low byte")
            low = &field;
    }
    if (high && low)
        return byteSelectionText(getField(base, *high), getField(base, *low), of);
    return {};
}

// describeRecord's line, with the byte selection after it where the record has one, so the
// raw fields stay first and in the layout's order.
std::string recordText(const std::uint8_t* base, const RecordLayout& layout)
{
    std::string text = describeRecord(base, layout);
    const std::string note = selectionNote(base, layout);
    if (!note.empty())
        text += " | " + note;
    return text;
}

class DumpWriter {
public:
    void line(const std::string& text)
    {
        m_dump.text += text;
        m_dump.text += '\n';
    }
    void problem(const std::string& text)
    {
        line("WRONG: " + text);
        m_dump.problems.push_back(text);
    }
    ImageDump take() { return std::move(m_dump); }

private:
    ImageDump m_dump;
};

constexpr const char* kSectionNames[kPlainSections] = {"SDO",          "EMCY", "EMCY word",     "RPDO",
                                                       "RPDO mapping", "TPDO", "node guarding", "parameter"};

// Prints the fixed-size records between two offsets; false when they do not divide evenly.
std::size_t dumpRecords(DumpWriter& out, std::span<const std::uint8_t> bytes, std::size_t begin,
                        std::size_t end, const RecordLayout& layout)
{
    const std::size_t length = end - begin;
    if (length % layout.size != 0)
        out.problem(std::string(layout.name) + "s: section of " + std::to_string(length) +
                    " bytes is not a whole number of " + std::to_string(layout.size) + "-byte records");
    std::size_t n = 0;
    for (std::size_t at = begin; at + layout.size <= end; at += layout.size)
        out.line(std::string(layout.name) + " " + std::to_string(++n) + ": " +
                 recordText(bytes.data() + at, layout));
    return n;
}

std::string slotText(std::uint32_t slot)
{
    return slot == 0xFFFF ? "none" : std::to_string(slot);
}

} // namespace

std::string byteChoiceText(unsigned byte, SelectedBytes of)
{
    if (byte == 0)
        return "none";
    switch (of) {
    case SelectedBytes::Object:
        return "object byte " + std::to_string(byte);
    case SelectedBytes::Frame:
        break;
    case SelectedBytes::Emergency:
        // The field's bytes follow the error code (2 bytes) and the error register (1 byte).
        return "EMCY byte " + std::to_string(byte) + " (message byte " + std::to_string(byte + 3) + ")";
    }
    return "frame byte " + std::to_string(byte);
}

std::string byteSelectionText(unsigned hiByte, unsigned loByte, SelectedBytes of)
{
    return "Hi Byte: " + byteChoiceText(hiByte, of) + ", Lo Byte: " + byteChoiceText(loByte, of);
}

std::string sdoConfText(std::uint8_t conf)
{
    const SdoConfParts parts = splitSdoConf(conf);
    std::string text = "conf " + hex(conf, 2) + " (" +
                       byteSelectionText(parts.hiByte, parts.loByte, SelectedBytes::Object) +
                       ", R/W: " + sdoReadWriteText(parts.readWrite);
    if (parts.bit3)
        text += ", bit 3 set";
    return text + ")";
}

ImageDump dumpPlainImage(std::span<const std::uint8_t> bytes)
{
    DumpWriter out;
    out.line("bank.bin: plain configuration image, " + std::to_string(bytes.size()) + " bytes");
    if (bytes.size() < kPlainHeader.size) {
        out.problem("the file is shorter than its 32-byte header");
        return out.take();
    }
    if (bytes.size() > kPlainImageMaxSize)
        out.problem("the file is longer than " + std::to_string(kPlainImageMaxSize) + " bytes");
    std::array<std::size_t, kPlainSections + 1> offsets{};
    for (std::size_t s = 0; s < kPlainSections; ++s) {
        offsets[s] = getField(bytes.data(), kPlainHeader.fields[s]);
        out.line("header " + std::to_string(4 * s) + ": " + kSectionNames[s] + " section at " +
                 std::to_string(offsets[s]));
    }
    offsets[kPlainSections] = bytes.size();
    if (offsets[0] != kPlainHeader.size)
        out.problem("header 0: the SDO section must start at 32, not " + std::to_string(offsets[0]));
    bool ordered = true;
    for (std::size_t s = 0; s < kPlainSections; ++s) {
        if (offsets[s] > bytes.size() || offsets[s] < kPlainHeader.size || offsets[s] > offsets[s + 1]) {
            out.problem("header " + std::to_string(4 * s) + ": the " + kSectionNames[s] + " section offset " +
                        std::to_string(offsets[s]) + " is out of order or beyond the end of the file");
            ordered = false;
        }
    }
    if (!ordered)
        return out.take();

    std::array<std::uint32_t, 7> found{};
    found[0] = static_cast<std::uint32_t>(dumpRecords(out, bytes, offsets[0], offsets[1], kPlainSdoRecord));

    // Emergency messages: a head, then three bytes per word.
    std::vector<std::vector<std::uint8_t>> selectors;
    std::size_t at = offsets[1];
    while (at < offsets[2]) {
        if (at + kEmcyMessageHead.size > offsets[2]) {
            out.problem("EMCY section: a message head is cut short at byte " + std::to_string(at));
            break;
        }
        const std::uint32_t words = getField(bytes.data() + at, kEmcyMessageHead.fields[3]);
        out.line("EMCY " + std::to_string(selectors.size() + 1) + ": " +
                 describeRecord(bytes.data() + at, kEmcyMessageHead));
        at += kEmcyMessageHead.size;
        selectors.emplace_back();
        for (std::uint32_t k = 0; k < words; ++k) {
            if (at + kEmcyWordRef.size > offsets[2]) {
                out.problem("EMCY section: the words of message " + std::to_string(selectors.size()) +
                            " run past the EMCY word section");
                at = offsets[2];
                break;
            }
            out.line("  word " + std::to_string(k + 1) + ": " + recordText(bytes.data() + at, kEmcyWordRef));
            selectors.back().push_back(
                static_cast<std::uint8_t>(getField(bytes.data() + at, kEmcyWordRef.fields[1])));
            at += kEmcyWordRef.size;
        }
    }
    found[1] = static_cast<std::uint32_t>(selectors.size());
    found[2] = static_cast<std::uint32_t>(dumpRecords(out, bytes, offsets[2], offsets[3], kListWordRecord));

    // The byte slots, as the words of each message name them.
    std::size_t wordIndex = 0;
    for (std::size_t m = 0; m < selectors.size(); ++m)
        for (const std::uint8_t selector : selectors[m]) {
            const std::size_t record = offsets[2] + wordIndex * kListWordRecord.size;
            ++wordIndex;
            if (record + kListWordRecord.size > offsets[3])
                continue;
            const std::uint32_t hi = getField(bytes.data() + record, kListWordRecord.fields[1]);
            const std::uint32_t lo = getField(bytes.data() + record, kListWordRecord.fields[2]);
            out.line("slot of EMCY " + std::to_string(m + 1) + ", List_Word " + std::to_string(wordIndex) +
                     ": Hi Byte: " + byteChoiceText(selector >> 4, SelectedBytes::Emergency) + " -> slot " +
                     slotText(hi) + ", Lo Byte: " + byteChoiceText(selector & 15, SelectedBytes::Emergency) +
                     " -> slot " + slotText(lo));
        }
    if (wordIndex != found[2])
        out.problem("the EMCY messages name " + std::to_string(wordIndex) +
                    " words, the EMCY word section holds " + std::to_string(found[2]));

    found[3] = static_cast<std::uint32_t>(dumpRecords(out, bytes, offsets[3], offsets[4], kPlainRpdoRecord));
    found[4] =
        static_cast<std::uint32_t>(dumpRecords(out, bytes, offsets[4], offsets[5], kPlainRpdoMapRecord));
    found[5] = static_cast<std::uint32_t>(dumpRecords(out, bytes, offsets[5], offsets[6], kPlainTpdoRecord));
    found[6] =
        static_cast<std::uint32_t>(dumpRecords(out, bytes, offsets[6], offsets[7], kPlainNodeGuardRecord));

    const std::size_t parameterLength = bytes.size() - offsets[7];
    if (parameterLength == 0) {
        out.line("parameter section: absent (no ParGen.xml)");
    } else if (parameterLength != kPlainParameters.size) {
        out.problem("parameter section: " + std::to_string(parameterLength) + " bytes instead of 40");
    } else {
        const std::uint8_t* p = bytes.data() + offsets[7];
        for (const Field& field : kPlainParameters.fields)
            out.line("parameter " + std::string(field.name) + " = " + std::to_string(getField(p, field)));
        for (std::size_t c = 0; c < found.size(); ++c) {
            const Field& field = kPlainParameters.fields[16 + c];
            if (getField(p, field) != found[c])
                out.problem("parameter " + std::string(field.name) + " is " +
                            std::to_string(getField(p, field)) + " but the section holds " +
                            std::to_string(found[c]));
        }
    }
    return out.take();
}

ImageDump dumpParameterBlock(std::span<const std::uint8_t> bytes)
{
    DumpWriter out;
    out.line("bank1_ESP32.bin: parameter block, " + std::to_string(bytes.size()) + " bytes");
    if (bytes.size() != ParameterBlock::kSize) {
        out.problem("the block must be 2048 bytes");
        if (bytes.size() < ParameterBlock::kSize)
            return out.take();
    }
    for (const Field& field : parameterBlockFields())
        out.line(hex(static_cast<std::uint32_t>(field.offset), 3) + " " + field.name + " = " +
                 std::to_string(getField(bytes.data(), field)) + " (" +
                 hex(getField(bytes.data(), field), static_cast<int>(2 * fieldWidth(field.type))) + ")");
    for (const TableLayout& layout : tableLayouts()) {
        const std::uint32_t count =
            getField(bytes.data(), ParameterField::kTableCount[layout.directoryEntry]);
        out.line("directory " + std::to_string(layout.directoryEntry) + ": " + layout.name + ", " +
                 std::to_string(count) + " entries at " +
                 hex(getField(bytes.data(), ParameterField::kTableAddress[layout.directoryEntry]), 6));
        if (count > layout.capacity)
            out.problem(std::string(layout.name) + " count " + std::to_string(count) +
                        " exceeds its capacity " + std::to_string(layout.capacity));
    }
    const std::uint32_t stored = getField(bytes.data(), ParameterField::kChecksum);
    const std::uint32_t computed = ParameterBlock::computeChecksum(bytes);
    if (stored == computed)
        out.line("checksum " + std::to_string(stored) + " is right");
    else
        out.problem("checksum at 0x7FC is " + std::to_string(stored) + " but the bytes before it sum to " +
                    std::to_string(computed));
    return out.take();
}

ImageDump dumpTableArea(std::span<const std::uint8_t> bytes,
                        const std::optional<std::array<std::uint32_t, 10>>& counts)
{
    DumpWriter out;
    out.line("bank2_ESP32.bin: table area, " + std::to_string(bytes.size()) + " bytes");
    if (bytes.size() != TableArea::kSize) {
        out.problem("the table area must be 30720 bytes");
        if (bytes.size() < TableArea::kSize)
            return out.take();
    }
    if (!counts)
        out.line("no bank1_ESP32.bin beside it: entries are listed up to each table's last non-zero entry");
    for (const TableLayout& layout : tableLayouts()) {
        std::size_t n = 0;
        if (counts) {
            n = (*counts)[layout.directoryEntry];
            if (n > layout.capacity) {
                out.problem(std::string(layout.name) + " count " + std::to_string(n) +
                            " exceeds its capacity " + std::to_string(layout.capacity));
                n = layout.capacity;
            }
        } else {
            for (std::size_t e = 0; e < layout.capacity; ++e) {
                const std::uint8_t* entry = bytes.data() + layout.offset + e * layout.entry.size;
                for (std::size_t b = 0; b < layout.entry.size; ++b)
                    if (entry[b] != 0) {
                        n = e + 1;
                        break;
                    }
            }
        }
        out.line(std::string(layout.name) + " at " + hex(static_cast<std::uint32_t>(layout.offset), 4) +
                 ": " + std::to_string(n) + " of " + std::to_string(layout.capacity) + " entries");
        for (std::size_t e = 0; e < n; ++e)
            out.line("  " + std::string(layout.entry.name) + " " + std::to_string(e + 1) + ": " +
                     recordText(bytes.data() + layout.offset + e * layout.entry.size, layout.entry));
        // Entries beyond the count must be zero.
        for (std::size_t e = n; e < layout.capacity; ++e) {
            const std::uint8_t* entry = bytes.data() + layout.offset + e * layout.entry.size;
            bool zero = true;
            for (std::size_t b = 0; b < layout.entry.size; ++b)
                zero = zero && entry[b] == 0;
            if (!zero) {
                out.problem(std::string(layout.name) + ": entry " + std::to_string(e + 1) +
                            " beyond the count is not zero");
                break;
            }
        }
    }
    return out.take();
}

ImageDump dumpImageFile(std::string_view path)
{
    const Result<std::string> read = readWholeFile(path);
    if (!read) {
        const std::string& error = read.error().text;
        ImageDump dump;
        dump.text = "cannot read " + std::string(path) + ": " + error + "\n";
        dump.problems.push_back(error);
        return dump;
    }
    const std::string& content = *read;
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(content.data()),
                                              content.size());
    std::string name = pathToUtf8(pathFromUtf8(path).filename());
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    const bool bank1 = name == "bank1_esp32.bin" || (name != "bank.bin" && name != "bank2_esp32.bin" &&
                                                     bytes.size() == ParameterBlock::kSize);
    const bool bank2 =
        name == "bank2_esp32.bin" || (name != "bank.bin" && !bank1 && bytes.size() == TableArea::kSize);
    if (bank1)
        return dumpParameterBlock(bytes);
    if (bank2) {
        std::optional<std::array<std::uint32_t, 10>> counts;
        const std::string sibling = pathToUtf8(pathFromUtf8(path).parent_path() / kBank1Name);
        const Result<std::string> bank1Read = readWholeFile(sibling);
        if (bank1Read && bank1Read->size() == ParameterBlock::kSize) {
            const std::string& block = *bank1Read;
            counts.emplace();
            for (std::size_t k = 0; k < 10; ++k)
                (*counts)[k] = getField(reinterpret_cast<const std::uint8_t*>(block.data()),
                                        ParameterField::kTableCount[k]);
        }
        return dumpTableArea(bytes, counts);
    }
    return dumpPlainImage(bytes);
}

} // namespace setforge

#include "core/image/emcylists.h"

#include <array>
#include <cstdio>
#include <string>

#include "core/base/typedinteger.h"
#include "core/image/compilestop.h"
#include "core/image/imagetext.h"

namespace setforge {

namespace {

using FT = FieldType;

constexpr Field kHeadFields[] = {
    {"COB", 0, FT::U8}, {"Err_COde", 1, FT::U16LE}, {"Err_Reg", 3, FT::U8}, {"words", 4, FT::U8}};
constexpr Field kWordRefFields[] = {{"NWord", 0, FT::U16LE}, {"Bytes", 2, FT::U8}};
constexpr Field kListWordFields[] = {
    {"ID_Word", 0, FT::U16LE}, {"ID_Byte_Hi", 2, FT::U16LE}, {"ID_Byte_Lo", 4, FT::U16LE}};

std::uint32_t integer(const pugi::xml_node& node, const char* name, const char* fileName)
{
    const std::string text = node.attribute(name).value();
    const Result<std::int32_t> v = readTypedInteger(text);
    if (!v)
        throw CompileStopped{"Invalid number \"" + text + "\" for " + name + " in " + fileName};
    return static_cast<std::uint32_t>(*v);
}

// The slot of `byte` in this message, numbered now when the message has none for it yet.
std::uint16_t slotOf(unsigned byte, std::array<int, kEmcyFrameBytes + 1>& slots, std::uint16_t& nextSlot)
{
    if (byte == 0)
        return 0xFFFF;
    if (slots[byte] < 0)
        slots[byte] = nextSlot++;
    return static_cast<std::uint16_t>(slots[byte]);
}

} // namespace

constexpr RecordLayout kEmcyMessageHead{"EMCY", kHeadFields, 5};
constexpr RecordLayout kEmcyWordRef{"EMCY word", kWordRefFields, 3};
constexpr RecordLayout kListWordRecord{"List_Word", kListWordFields, 6};

// Every record holds its fields, none overlapping.
static_assert(fieldsFitRecord(kEmcyMessageHead.fields, kEmcyMessageHead.size),
              "kEmcyMessageHead: fields overflow or overlap");
static_assert(fieldsFitRecord(kEmcyWordRef.fields, kEmcyWordRef.size),
              "kEmcyWordRef: fields overflow or overlap");
static_assert(fieldsFitRecord(kListWordRecord.fields, kListWordRecord.size),
              "kListWordRecord: fields overflow or overlap");

EmcyLists buildEmcyLists(const pugi::xml_node& emcyDefRoot, const pugi::xml_node& emcyWordRoot)
{
    EmcyLists lists;
    std::vector<pugi::xml_node> rows;
    forEachElement(emcyDefRoot, [&rows](const pugi::xml_node& row, std::size_t) { rows.push_back(row); });
    std::uint16_t nextWord = 0;
    std::uint16_t nextSlot = 0;
    forEachElement(emcyWordRoot, [&](const pugi::xml_node& emcyRow, std::size_t i) {
        if (i >= rows.size())
            return;
        EmcyMessage message;
        message.nodeId = static_cast<std::uint8_t>(integer(rows[i], "ID_EMCY", "emcydef.xml"));
        message.errorCode = static_cast<std::uint16_t>(integer(rows[i], "EMCY_Error_Code", "emcydef.xml"));
        message.errorRegister = static_cast<std::uint8_t>(integer(rows[i], "Error_Register", "emcydef.xml"));
        std::array<int, kEmcyFrameBytes + 1> slots;
        slots.fill(-1);
        forEachElement(emcyRow, [&](const pugi::xml_node& dati, std::size_t) {
            const std::uint8_t b = static_cast<std::uint8_t>(integer(dati, "Dati_Byte", "emcyword.xml"));
            const unsigned lowPart = b & 15u;
            const unsigned highPart = b >> 4;
            if (lowPart > kEmcyFrameBytes || highPart > kEmcyFrameBytes) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(b));
                throw CompileStopped{"Invalid byte selector " + std::string(hex) + " (" +
                                     dati.attribute("Dati_Byte").value() +
                                     ") in emcyword.xml: an emergency offers bytes 1 to 5 only"};
            }
            const std::uint32_t reg = integer(dati, "Dati_Word", "emcyword.xml");
            message.words.push_back({nextWord, b});
            EmcyWord word;
            word.registerIndex = static_cast<std::uint16_t>(reg);
            word.lowByteSlot = slotOf(lowPart, slots, nextSlot);
            word.highByteSlot = slotOf(highPart, slots, nextSlot);
            lists.words.push_back(word);
            ++nextWord;
        });
        if (message.words.size() > kMaxWordsPerEmcy)
            throw CompileStopped{"Too many words for emergency " + std::to_string(i + 1) +
                                 " in emcyword.xml: " + std::to_string(message.words.size()) + " (at most " +
                                 std::to_string(kMaxWordsPerEmcy) + ")"};
        lists.messages.push_back(std::move(message));
    });
    return lists;
}

void appendEmcySections(std::vector<std::uint8_t>& out, const EmcyLists& lists)
{
    for (const EmcyMessage& message : lists.messages) {
        appendRecord(out, kEmcyMessageHead,
                     {message.nodeId, message.errorCode, message.errorRegister,
                      static_cast<std::uint32_t>(message.words.size())});
        for (const EmcyWordRef& word : message.words)
            appendRecord(out, kEmcyWordRef, {word.wordNumber, word.byteSelector});
    }
    for (const EmcyWord& word : lists.words)
        appendRecord(out, kListWordRecord, {word.registerIndex, word.highByteSlot, word.lowByteSlot});
}

} // namespace setforge

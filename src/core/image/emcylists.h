#pragma once

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

#include "core/image/binarylayout.h"

namespace setforge {

// One word fed from an emergency message.
struct EmcyWordRef {
    std::uint16_t wordNumber = 0;  // number of the word's EmcyWord record
    std::uint8_t byteSelector = 0; // byte selector: high part in the upper 4 bits, low part in the lower
};

// One emergency message of the plain image.
struct EmcyMessage {
    std::uint8_t nodeId = 0;        // node ID of the producer
    std::uint16_t errorCode = 0;    // error code
    std::uint8_t errorRegister = 0; // error register
    std::vector<EmcyWordRef> words;
};

// One word over all messages: its register and the byte slots of its two parts.
struct EmcyWord {
    std::uint16_t registerIndex = 0;
    std::uint16_t highByteSlot = 0xFFFF; // 0xFFFF: no part
    std::uint16_t lowByteSlot = 0xFFFF;
};

// The two lists of the plain image's emergency sections.
struct EmcyLists {
    std::vector<EmcyMessage> messages;
    std::vector<EmcyWord> words;
};

inline constexpr unsigned kEmcyFrameBytes = 5;    // manufacturer-specific bytes a word can take from
inline constexpr unsigned kMaxWordsPerEmcy = 255; // the word count of a message is one byte

// The record layouts of the two sections, all little-endian.
extern const RecordLayout kEmcyMessageHead; // COB, Err_COde, Err_Reg, word count: 5 bytes
extern const RecordLayout kEmcyWordRef;     // NWord, Bytes: 3 bytes after the head, per word
extern const RecordLayout kListWordRecord;  // ID_Word, ID_Byte_Hi, ID_Byte_Lo: 6 bytes

// Builds the lists from the roots of emcydef.xml and emcyword.xml: min(rows, EMCY_ROWs)
// messages, each distinct (message, byte) pair numbered as a slot when first met, the low part
// before the high. Throws CompileStopped when a value is not an integer (the text is named), a
// selector part exceeds 5, or a message has more than 255 words.
EmcyLists buildEmcyLists(const pugi::xml_node& emcyDefRoot, const pugi::xml_node& emcyWordRoot);

// Appends the EMCY section and then the EMCY word section for `lists` to `out`.
void appendEmcySections(std::vector<std::uint8_t>& out, const EmcyLists& lists);

} // namespace setforge

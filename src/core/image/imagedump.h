#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace setforge {

// A decoded image file: readable text, one field or record per line, and the places where the
// file does not hold together (wrong checksum, wrong size, header offsets out of order...).
struct ImageDump {
    std::string text;
    std::vector<std::string> problems;
    bool ok() const { return problems.empty(); }
};

// What a byte number of an image's byte selection counts: the bytes of the remote object an
// SDO access reads or writes, the data bytes of a PDO frame, or the five bytes of an
// emergency's manufacturer-specific field (bytes 4..8 of the message).
enum class SelectedBytes { Object, Frame, Emergency };

// One byte number in the dump's words: "object byte 2", "frame byte 1", "EMCY byte 1 (message
// byte 4)" as the emergency mapping editor names it, "none" for 0.
std::string byteChoiceText(unsigned byte, SelectedBytes of);

// The two byte numbers of a selection: "Hi Byte: frame byte 2, Lo Byte: frame byte 1".
std::string byteSelectionText(unsigned hiByte, unsigned loByte, SelectedBytes of);

// An SDO access's conf byte with its parts, for both images' SDO lines:
// "conf 0x41 (Hi Byte: object byte 2, Lo Byte: object byte 1, R/W: ReadOnly)". Bit 3, which no
// saved row sets, is named when set.
std::string sdoConfText(std::uint8_t conf);

// Decodes bank.bin: header, every section record, the emergency byte slots, the parameter section.
ImageDump dumpPlainImage(std::span<const std::uint8_t> bytes);

// Decodes bank1_ESP32.bin: every parameter, the table directory, the checksum.
ImageDump dumpParameterBlock(std::span<const std::uint8_t> bytes);

// Decodes bank2_ESP32.bin: the entries of each table up to its count in `counts` (directory
// entries 0..9 of bank1_ESP32.bin); without counts, up to the table's last non-zero entry.
ImageDump dumpTableArea(std::span<const std::uint8_t> bytes,
                        const std::optional<std::array<std::uint32_t, 10>>& counts);

// Reads the file at `path` and decodes it by its name (bank.bin, bank1_ESP32.bin,
// bank2_ESP32.bin, any letter case) or, for another name, by its size. For bank2_ESP32.bin the
// counts come from bank1_ESP32.bin beside it. A file that cannot be read gives one problem.
ImageDump dumpImageFile(std::string_view path);

} // namespace setforge

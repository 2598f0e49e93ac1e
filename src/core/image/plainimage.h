#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/image/binarylayout.h"
#include "core/image/compilemessage.h"
#include "core/tables/projectdocuments.h"

namespace setforge {

// The sections of the plain image, in file order; the header holds their offsets in this order.
enum class PlainSection { Sdo, Emcy, EmcyWord, Rpdo, RpdoMapping, Tpdo, NodeGuarding, Parameters };
inline constexpr std::size_t kPlainSections = 8;

// The header: eight little-endian u32 offsets, 32 bytes.
extern const RecordLayout kPlainHeader;
// The records of the big-endian sections.
extern const RecordLayout kPlainSdoRecord;       // 8 bytes
extern const RecordLayout kPlainRpdoRecord;      // 3 bytes
extern const RecordLayout kPlainRpdoMapRecord;   // 4 bytes
extern const RecordLayout kPlainTpdoRecord;      // 5 bytes
extern const RecordLayout kPlainNodeGuardRecord; // 4 bytes
// The parameter section, 40 bytes: big-endian values, the seven counts little-endian.
extern const RecordLayout kPlainParameters;

// The plain image can never be longer than the device's buffer.
inline constexpr std::size_t kPlainImageMaxSize = 100001;

// A compiled plain image (bank.bin) with the seven counts of its parameter section: SDO, EMCY,
// EMCY words, RPDO, RPDO mapping, TPDO, node guarding records.
struct PlainImage {
    std::vector<std::uint8_t> bytes;
    std::array<std::uint32_t, 7> counts{};
};

// Builds bank.bin from the project's files in memory. Missing files and unreadable numbers are
// reported to `sink` as the compile reaches them, and the compile goes on. Throws
// CompileStopped for a file that is not well-formed, an invalid emergency value, or an image
// longer than kPlainImageMaxSize.
PlainImage compilePlainImage(ProjectDocuments& docs, const MessageSink& sink);

} // namespace setforge

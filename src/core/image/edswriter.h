#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/atomicfile.h"
#include "core/base/projectfiles.h"

namespace setforge {

// The local date and time the EDS is stamped with.
struct EdsClock {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0; // 0..59
};

// The local date and time of the instant `t`.
EdsClock edsClockAt(std::time_t t);

// "hh:mm" on a 12-hour clock with "AM" or "PM": 00:05 -> "12:05AM", 12:30 -> "12:30PM".
std::string edsTime(const EdsClock& clock);

// "mm-dd-yyyy": 9 March 2024 -> "03-09-2024".
std::string edsDate(const EdsClock& clock);

// One PDO of the EDS: its COB-ID and its data length in bytes.
struct EdsPdo {
    std::uint16_t cobId = 0;
    std::uint8_t length = 0;
};

// The PDO lists of the EDS, at most 64 receive and 32 transmit PDOs.
struct PdoLists {
    std::vector<EdsPdo> receive;
    std::vector<EdsPdo> transmit;
};

inline constexpr std::size_t kEdsMaxReceivePdos = 64;
inline constexpr std::size_t kEdsMaxTransmitPdos = 32;

// readPdoLists: the PDOs of rpdodef.xml and Transmit_Pdo.xml (none for a missing file).
// A COB-ID is the low 16 bits of its value, a length the low 8 bits. Fails, naming the text, for
// a COB-ID or length that is not an integer or a length above 8; fails for more PDOs than the
// lists hold or a file that is not well-formed.
Result<PdoLists> readPdoLists(const ProjectFiles& files);

// The whole EDS text for `lists`, stamped with `clock`.
std::string edsText(const PdoLists& lists, const EdsClock& clock);

// The EDS text of the project whose paths are `files` (CR LF after every line), or the Error
// of readPdoLists that stopped it.
Result<std::string> buildEds(const ProjectFiles& files, const EdsClock& clock);

// writeEdsFile: builds the EDS and writes it to `path`, replacing an existing file. On any
// failure nothing is written and the error names the text or the file.
Result<void> writeEdsFile(const ProjectFiles& files, std::string_view path, const EdsClock& clock);

} // namespace setforge

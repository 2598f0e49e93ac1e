#pragma once

#include <string>
#include <string_view>

namespace setforge {

// Outcome of a file write: ok, or the system's error text (with the path) in `error`.
struct WriteResult {
    bool ok = true;
    std::string error;
    explicit operator bool() const { return ok; }
};

// Writes `content` whole to `utf8Path`: to a temporary file in the same directory, flushed to
// disk, then renamed over the old file, so a crash or a full disk never leaves a torn file.
// Every file the system writes goes through here. The old file is untouched on failure; a
// read-only file (no write permission, or the read-only attribute) is refused and kept.
WriteResult writeFileAtomic(std::string_view utf8Path, std::string_view content);

} // namespace setforge

#pragma once

#include <string>
#include <string_view>

#include "core/base/result.h"

namespace setforge {

// Writes `content` whole to `utf8Path`: to a temporary file in the same directory, flushed to
// disk, then renamed over the old file, so a crash or a full disk never leaves a torn file.
// Every file the system writes goes through here. The old file is untouched on failure; a
// read-only file (no write permission, or the read-only attribute) is refused and kept.
Result<void> writeFileAtomic(std::string_view utf8Path, std::string_view content);

} // namespace setforge

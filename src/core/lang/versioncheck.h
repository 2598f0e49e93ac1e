#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The version query sent to the maker's web server and the reading of its answer. The
// sending itself belongs to the GUI layer; everything here is plain text work.

namespace setforge {

inline constexpr const char* kVersionQueryPath = "/home/download/GetversionSW.asp";
inline constexpr const char* kVersionQueryKey = "nomesw";
inline constexpr const char* kVersionQueryAccept =
    "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
inline constexpr const char* kVersionQueryUserAgent = "Mozilla/3.0 (compatible; Indy Library)";
// The longest answer body that is read; a longer one is not a version answer.
inline constexpr std::size_t kVersionAnswerLimit = 4096;
// How long the query may take in all before it counts as failed.
inline constexpr int kVersionQueryTimeoutMs = 5000;

// The query text: "nomesw=KX40917".
std::string versionQueryString();

// The full address of the query below `base` ("http://host" or "http://127.0.0.1:port",
// without a trailing slash): base + path + "?" + query.
std::string versionQueryUrl(std::string_view base);

// The value of a version text: the text after its first blank (all of it without a blank),
// trimmed; its 1st, 3rd, 4th and 5th characters read as one integer ("VER. 2.105" -> 2105).
// Returns -1 when fewer than five characters remain or they do not read as a number.
int parseVersion(std::string_view versionText);

// True when the server's `answer` (the raw body; empty after any failure) names a version
// newer than `runningVersion`. Empty answers and "VER. 0.000" (any letter case) are not newer.
bool isNewerVersionAnswer(std::string_view answer, std::string_view runningVersion);

} // namespace setforge

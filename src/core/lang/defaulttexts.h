#pragma once
#include <cstddef>

namespace setforge {

// One built-in English text of the table, by index.
struct DefaultText {
    int index;
    const char* text;
};
// The built-in English texts, in increasing index order; every index not listed defaults to a single
// blank.
extern const DefaultText kDefaultTexts[];
extern const std::size_t kDefaultTextCount;

} // namespace setforge

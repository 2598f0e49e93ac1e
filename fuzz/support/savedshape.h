#pragma once

#include <string>
#include <string_view>

#include "core/base/xmlfile.h"

// Shape checks of a saved table-like file, read from the text itself: the reader drops
// comments, so the document model cannot tell whether the version comment came last.

namespace setforge {

// True when the saved text opens with the element `root`.
inline bool startsWithRoot(const std::string& saved, std::string_view root)
{
    const std::string open = "<" + std::string(root);
    if (saved.compare(0, open.size(), open) != 0 || saved.size() <= open.size())
        return false;
    const char next = saved[open.size()];
    return next == '>' || next == '/' || next == ' ';
}

// True when the saved text ends with the version comment.
inline bool endsWithVersionComment(const std::string& saved)
{
    const std::string comment = std::string("<!--") + kVersionComment + "-->";
    return saved.size() >= comment.size() &&
           saved.compare(saved.size() - comment.size(), comment.size(), comment) == 0;
}

} // namespace setforge

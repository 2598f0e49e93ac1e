#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "core/base/atomicfile.h"
#include "core/base/product.h"

namespace setforge {

// The comment that ends every file the system writes.
inline constexpr const char* kVersionComment = "SW_VERSION = " SETFORGE_VERSION;

// Outcome of reading an XML file.
struct XmlLoadResult {
    enum class Status { Ok, Missing, Unreadable, NotWellFormed };
    Status status = Status::Ok;
    std::string error; // parser's or system's text, for the message box
    bool ok() const { return status == Status::Ok; }
};

// Parses the file at `utf8Path` into `doc`. A missing file gives Missing, a file that cannot
// be read (a directory, no permission) Unreadable, bad XML NotWellFormed with the parser's
// text and position. `doc` is reset first in every case.
XmlLoadResult loadXmlFile(std::string_view utf8Path, pugi::xml_document& doc);

// Parses XML text held in memory, with the same results as loadXmlFile.
XmlLoadResult loadXmlText(std::string_view text, pugi::xml_document& doc);

// The document's root: its first element. Comments, declarations and processing
// instructions before it are skipped, so a hand-edited file keeps its rows.
pugi::xml_node documentRoot(const pugi::xml_node& doc);

// Loads the file at `utf8Path` into `doc` and returns its root (documentRoot), or an empty node
// when the file is missing, unreadable or not well-formed: readers that go over whatever rows a
// project has simply find none. With `errors`, the reason of each failure other than a missing
// file is appended there.
pugi::xml_node loadXmlRoot(std::string_view utf8Path, pugi::xml_document& doc,
                           std::vector<std::string>* errors = nullptr);

// The first element child of `node` named `name`; an empty node when there is none.
pugi::xml_node childElement(const pugi::xml_node& node, const char* name);

// The element that follows `node` among its siblings, skipping comments and text.
pugi::xml_node nextElement(const pugi::xml_node& node);

// The text of `node` (its first text child), or "" for an empty node.
std::string elementText(const pugi::xml_node& node);

// The text of the child element `name` of `parent`, or "" when it is missing.
std::string childText(const pugi::xml_node& parent, const char* name);

// Calls `action` for every element child of `root`, in document order, with its position
// among the element children (from 0). Comments and text between rows are not rows.
template <typename Action> void forEachElement(const pugi::xml_node& root, Action&& action)
{
    std::size_t i = 0;
    for (pugi::xml_node node : root.children())
        if (node.type() == pugi::node_element)
            action(node, i++);
}

// The number of element children of `root`.
inline std::size_t countElements(const pugi::xml_node& root)
{
    std::size_t n = 0;
    forEachElement(root, [&n](const pugi::xml_node&, std::size_t) { ++n; });
    return n;
}

// Appends the root element `rootName` to an empty `doc` and the version comment after it.
pugi::xml_node startTableDocument(pugi::xml_document& doc, const char* rootName);

// The document as the system writes it: UTF-8, no declaration, no indentation; a carriage
// return in element text as "&#13;", so every text reads back as it was. `doc` holds no
// comment or processing instruction with a carriage return.
std::string serializeXml(const pugi::xml_document& doc);

// Writes serializeXml(doc) through the atomic-write helper.
Result<void> saveXmlFile(const pugi::xml_document& doc, std::string_view utf8Path);

} // namespace setforge

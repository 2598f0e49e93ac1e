#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "core/base/atomicfile.h"
#include "core/base/product.h"
#include "core/base/result.h"

namespace setforge {

// The comment that ends every file the system writes.
inline constexpr const char* kVersionComment = "SW_VERSION = " SETFORGE_VERSION;

// What a successful read of a project file found. A missing file is no failure: a project
// that never saved a table simply has no rows, so only the readers that need the file ask.
enum class XmlFile { Read, Missing };

// Parses the file at `utf8Path` into `doc`: Read, or Missing (doc left empty) when there is
// no such file. A file that cannot be read (a directory, no permission) gives an Error with the
// system's text, bad XML one with the path, the parser's text and position. `doc` is reset
// first in every case.
Result<XmlFile> loadXmlFile(std::string_view utf8Path, pugi::xml_document& doc);

// True when loadXmlFile read the file: it exists and is well-formed.
inline bool wasRead(const Result<XmlFile>& loaded)
{
    return loaded && *loaded == XmlFile::Read;
}

// Parses XML text held in memory; bad XML or no root element gives an Error with the parser's
// text and position.
Result<void> loadXmlText(std::string_view text, pugi::xml_document& doc);

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

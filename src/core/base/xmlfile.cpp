#include "core/base/xmlfile.h"

#include <sstream>

#include "core/base/paths.h"

namespace setforge {

Result<void> loadXmlText(std::string_view text, pugi::xml_document& doc)
{
    doc.reset();
    // A field saved as blanks must load back as blanks, not as an empty text.
    const pugi::xml_parse_result parsed = doc.load_buffer(
        text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_auto);
    if (!parsed) {
        doc.reset();
        std::ostringstream error;
        error << parsed.description() << " (at offset " << parsed.offset << ")";
        return makeError(error.str());
    }
    if (!documentRoot(doc)) {
        // An empty file or one holding only comments has no root element.
        return makeError("No document element found");
    }
    return {};
}

Result<XmlFile> loadXmlFile(std::string_view utf8Path, pugi::xml_document& doc)
{
    doc.reset();
    if (!pathExists(utf8Path))
        return XmlFile::Missing;
    const Result<std::string> content = readWholeFile(utf8Path);
    if (!content)
        return makeError(content.error().text, std::string(utf8Path));
    const Result<void> parsed = loadXmlText(*content, doc);
    if (!parsed)
        return makeError(std::string(utf8Path) + ": " + parsed.error().text, std::string(utf8Path));
    return XmlFile::Read;
}

pugi::xml_node loadXmlRoot(std::string_view utf8Path, pugi::xml_document& doc,
                           std::vector<std::string>* errors)
{
    const Result<XmlFile> loaded = loadXmlFile(utf8Path, doc);
    if (!loaded) {
        if (errors)
            errors->push_back(loaded.error().text);
        return {};
    }
    return documentRoot(doc);
}

pugi::xml_node documentRoot(const pugi::xml_node& doc)
{
    for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling())
        if (node.type() == pugi::node_element)
            return node;
    return {};
}

pugi::xml_node childElement(const pugi::xml_node& node, const char* name)
{
    return node.child(name);
}

pugi::xml_node nextElement(const pugi::xml_node& node)
{
    for (pugi::xml_node next = node.next_sibling(); next; next = next.next_sibling())
        if (next.type() == pugi::node_element)
            return next;
    return {};
}

std::string elementText(const pugi::xml_node& node)
{
    return node.text().get();
}

std::string childText(const pugi::xml_node& parent, const char* name)
{
    return parent.child(name).text().get();
}

pugi::xml_node startTableDocument(pugi::xml_document& doc, const char* rootName)
{
    doc.reset();
    pugi::xml_node root = doc.append_child(rootName);
    doc.append_child(pugi::node_comment).set_value(kVersionComment);
    return root;
}

std::string serializeXml(const pugi::xml_document& doc)
{
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    // The writer escapes a carriage return inside an attribute but leaves one in element text
    // as it is, and the reader turns that into a line feed: the value would not read back. Only
    // element text can hold a raw one here (the version comment has none), so each becomes a
    // character reference.
    const std::string raw = out.str();
    std::string text;
    text.reserve(raw.size());
    for (char c : raw) {
        if (c == '\r')
            text += "&#13;";
        else
            text += c;
    }
    return text;
}

Result<void> saveXmlFile(const pugi::xml_document& doc, std::string_view utf8Path)
{
    return writeFileAtomic(utf8Path, serializeXml(doc));
}

} // namespace setforge

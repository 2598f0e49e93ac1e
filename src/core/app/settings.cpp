#include "core/app/settings.h"

#include "core/app/xmlfile.h"

namespace {

// Reads one value by section and element name; missing ones leave `value` untouched.
void readValue(const pugi::xml_node& root, const char* section, const char* element, std::string& value)
{
    const pugi::xml_node sectionNode = childElement(root, section);
    if (!sectionNode)
        return;
    const pugi::xml_node valueNode = childElement(sectionNode, element);
    if (!valueNode)
        return;
    value = elementText(valueNode);
}

void readFlag(const pugi::xml_node& root, const char* element, bool& flag)
{
    std::string text;
    readValue(root, "lastinternet", element, text);
    flag = text == "1";
}

Settings fromDocument(const pugi::xml_document& doc)
{
    Settings settings;
    const pugi::xml_node root = documentRoot(doc);
    if (!root)
        return settings;
    readValue(root, "lastproj", "projectname", settings.projectName);
    readValue(root, "lastipadd", "ipaddress", settings.deviceIp);
    readValue(root, "lastlang", "language", settings.languageName);
    readFlag(root, "enable_internet", settings.enableInternet);
    readFlag(root, "enable_update", settings.enableUpdate);
    readFlag(root, "enable_jump_field_tables", settings.enableJumpFieldTables);
    readFlag(root, "Double_Click_Auto_Size", settings.doubleClickAutoSize);
    return settings;
}

// Appends element `name` holding `text`. An empty text adds no text node, so the element is
// written as an empty-element tag like every other empty element the system writes.
void appendText(pugi::xml_node parent, const char* name, const std::string& text)
{
    pugi::xml_node child = parent.append_child(name);
    if (!text.empty())
        child.text().set(text.c_str());
}

std::string flagText(bool flag)
{
    return flag ? "1" : "0";
}

} // namespace

Settings readSettings(std::string_view utf8Path)
{
    pugi::xml_document doc;
    if (!loadXmlFile(utf8Path, doc).ok())
        return {};
    return fromDocument(doc);
}

Settings parseSettings(std::string_view xml)
{
    pugi::xml_document doc;
    if (!loadXmlText(xml, doc).ok())
        return {};
    return fromDocument(doc);
}

std::string settingsXml(const Settings& settings)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Conf_Settings");
    appendText(root.append_child("lastproj"), "projectname", settings.projectName);
    appendText(root.append_child("lastipadd"), "ipaddress", settings.deviceIp);
    appendText(root.append_child("lastlang"), "language", settings.languageName);
    pugi::xml_node internet = root.append_child("lastinternet");
    appendText(internet, "enable_internet", flagText(settings.enableInternet));
    appendText(internet, "enable_update", flagText(settings.enableUpdate));
    appendText(internet, "enable_jump_field_tables", flagText(settings.enableJumpFieldTables));
    appendText(internet, "Double_Click_Auto_Size", flagText(settings.doubleClickAutoSize));
    return serializeXml(doc);
}

WriteResult writeSettings(std::string_view utf8Path, const Settings& settings)
{
    return writeFileAtomic(utf8Path, settingsXml(settings));
}

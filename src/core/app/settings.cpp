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
    root.append_child("lastproj").append_child("projectname").text().set(settings.projectName.c_str());
    root.append_child("lastipadd").append_child("ipaddress").text().set(settings.deviceIp.c_str());
    root.append_child("lastlang").append_child("language").text().set(settings.languageName.c_str());
    pugi::xml_node internet = root.append_child("lastinternet");
    internet.append_child("enable_internet").text().set(settings.enableInternet ? "1" : "0");
    internet.append_child("enable_update").text().set(settings.enableUpdate ? "1" : "0");
    internet.append_child("enable_jump_field_tables").text().set(settings.enableJumpFieldTables ? "1" : "0");
    internet.append_child("Double_Click_Auto_Size").text().set(settings.doubleClickAutoSize ? "1" : "0");
    return serializeXml(doc);
}

WriteResult writeSettings(std::string_view utf8Path, const Settings& settings)
{
    return writeFileAtomic(utf8Path, settingsXml(settings));
}

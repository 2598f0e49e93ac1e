#include "core/app/settings.h"

#include <cstdio>

#include "core/base/xmlfile.h"

namespace setforge {

namespace {

// The settings file's shape, written once: every value in writing order, with its section and
// element. A value is either a text or a flag ("1"/"0"); consecutive entries share a section.
struct SettingsField {
    const char* section;
    const char* element;
    std::string Settings::*text;
    bool Settings::*flag;
};

constexpr const char* kRoot = "Conf_Settings";

const SettingsField kFields[] = {
    {"lastproj", "projectname", &Settings::projectName, nullptr},
    {"lastipadd", "ipaddress", &Settings::deviceIp, nullptr},
    {"lastlang", "language", &Settings::languageName, nullptr},
    {"lastinternet", "enable_internet", nullptr, &Settings::enableInternet},
    {"lastinternet", "enable_update", nullptr, &Settings::enableUpdate},
    {"lastinternet", "enable_jump_field_tables", nullptr, &Settings::enableJumpFieldTables},
    {"lastinternet", "Double_Click_Auto_Size", nullptr, &Settings::doubleClickAutoSize},
};

Settings fromDocument(const pugi::xml_document& doc)
{
    Settings settings;
    const pugi::xml_node root = documentRoot(doc);
    if (!root)
        return settings;
    // Each value on its own: a missing section or element leaves that value's default.
    for (const SettingsField& field : kFields) {
        const pugi::xml_node section = childElement(root, field.section);
        const pugi::xml_node value = section ? childElement(section, field.element) : pugi::xml_node();
        if (field.flag)
            settings.*field.flag = value && elementText(value) == "1";
        else if (value)
            settings.*field.text = elementText(value);
    }
    return settings;
}

bool isXmlBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Element text that reads back exactly: besides the markup characters, a carriage return
// (the reader would turn it into a line feed), other control characters, and the first
// character of a text made only of blanks (the reader would drop such a text) become
// character references.
void appendText(std::string& out, const std::string& value)
{
    bool allBlank = !value.empty();
    for (char c : value)
        allBlank = allBlank && isXmlBlank(c);
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if ((allBlank && i == 0) || (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n')) {
            char ref[8];
            std::snprintf(ref, sizeof ref, "&#%d;", static_cast<unsigned char>(c));
            out += ref;
        } else {
            out += c;
        }
    }
}

} // namespace

Settings readSettings(std::string_view utf8Path)
{
    pugi::xml_document doc;
    if (!wasRead(loadXmlFile(utf8Path, doc)))
        return {};
    return fromDocument(doc);
}

Settings parseSettings(std::string_view xml)
{
    pugi::xml_document doc;
    if (!loadXmlText(xml, doc))
        return {};
    return fromDocument(doc);
}

std::string settingsXml(const Settings& settings)
{
    std::string out = std::string("<") + kRoot + ">";
    const char* open = nullptr;
    for (const SettingsField& field : kFields) {
        if (!open || std::string_view(open) != field.section) {
            if (open)
                out = out + "</" + open + ">";
            open = field.section;
            out = out + "<" + open + ">";
        }
        // An empty value is an empty-element tag, as every other file writes it.
        if (!field.flag && (settings.*field.text).empty()) {
            out = out + "<" + field.element + "/>";
            continue;
        }
        out = out + "<" + field.element + ">";
        if (field.flag)
            out += settings.*field.flag ? "1" : "0";
        else
            appendText(out, settings.*field.text);
        out = out + "</" + field.element + ">";
    }
    out = out + "</" + open + "></" + kRoot + ">";
    return out;
}

Result<void> writeSettings(std::string_view utf8Path, const Settings& settings)
{
    return writeFileAtomic(utf8Path, settingsXml(settings));
}

} // namespace setforge

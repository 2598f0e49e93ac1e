#include <gtest/gtest.h>

#include <string>

#include <pugixml.hpp>

#include "core/app/settings.h"
#include "core/base/xmlfile.h"
#include "core/tables/pargenfile.h"
#include "core/update/ethernetjob.h"

namespace setforge {

// Every file the system writes spells an element with an empty text the same way: as an
// empty-element tag, never as a start tag directly followed by its end tag.
// True when the text holds "<name></name>" for some element name.
static bool hasEmptyStartEndPair(const std::string& text)
{
    for (std::size_t open = text.find('<'); open != std::string::npos; open = text.find('<', open + 1)) {
        const std::size_t close = text.find('>', open);
        if (close == std::string::npos)
            return false;
        const std::string name = text.substr(open + 1, close - open - 1);
        if (name.empty() || name[0] == '/' || name.find_first_of(" /!?") != std::string::npos)
            continue;
        if (text.compare(close + 1, name.size() + 3, "</" + name + ">") == 0)
            return true;
    }
    return false;
}

TEST(EmptyElements, AreWrittenAsEmptyElementTagsInEveryFile)
{
    Settings settings;
    settings.deviceIp.clear();

    ParGenValues values;
    values.canId.clear();
    values.ip[3].clear();

    EthernetJob job;
    job.ipAddress.clear();

    pugi::xml_document parGen;
    buildParGenDocument(values, parGen);

    struct Case {
        const char* file;
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {"Setforge.xml projectname", settingsXml(settings), "<lastproj><projectname/></lastproj>"},
        {"Setforge.xml ipaddress", settingsXml(settings), "<lastipadd><ipaddress/></lastipadd>"},
        {"ParGen.xml CAN_id", serializeXml(parGen), "<CAN_id/><CAN_Baud>"},
        {"ParGen.xml Ethernet_IP4", serializeXml(parGen), "<Ethernet_IP4/><Ethernet_SM1>"},
        {"Ethernet_Update.xml IP_Address_Dev", ethernetJobXml(job), "<IP_Address_Dev/><Application_Port>"},
        {"Ethernet_Update.xml Ope_WID_Data", ethernetJobXml(job), "<Ope_WID_Data/><Ope_GoToApp_After>"},
    };
    for (const Case& c : cases) {
        EXPECT_NE(c.text.find(c.expected), std::string::npos) << c.file << "\n" << c.text;
        EXPECT_FALSE(hasEmptyStartEndPair(c.text)) << c.file << "\n" << c.text;
    }
}

} // namespace setforge

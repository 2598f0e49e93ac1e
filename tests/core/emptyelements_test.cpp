#include <gtest/gtest.h>

#include <regex>
#include <string>

#include <pugixml.hpp>

#include "core/app/settings.h"
#include "core/app/xmlfile.h"
#include "core/tables/pargenfile.h"
#include "core/update/ethernetjob.h"

// Every file the system writes spells an element with an empty text the same way: as an
// empty-element tag, never as a start tag directly followed by its end tag.
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
    const std::regex startThenEnd(R"(<([A-Za-z_][A-Za-z0-9_.-]*)></\1>)");
    for (const Case& c : cases) {
        EXPECT_NE(c.text.find(c.expected), std::string::npos) << c.file << "\n" << c.text;
        EXPECT_FALSE(std::regex_search(c.text, startThenEnd)) << c.file << "\n" << c.text;
    }
}

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/xmlfile.h"
#include "core/tables/pargenfile.h"
#include "testutil.h"

namespace setforge {

namespace {

// Element texts holding characters the reader would change if they were written raw: each
// must read back exactly after a save (a carriage return came in through "&#13;").
TEST(XmlText, ElementTextReadsBackAsSaved)
{
    const std::string cases[] = {"1\r", "\r", "a\r\nb", "\r\r", " \r ", "x\ty\nz"};
    for (const std::string& value : cases) {
        pugi::xml_document doc;
        pugi::xml_node root = startTableDocument(doc, "Par_Gen");
        root.append_child("CAN_id").text().set(value.c_str());
        root.append_child("row").append_attribute("IndexA").set_value(value.c_str());
        const std::string saved = serializeXml(doc);
        EXPECT_EQ(saved.find('\r'), std::string::npos) << "raw carriage return in the saved text";

        pugi::xml_document again;
        ASSERT_TRUE(loadXmlText(saved, again));
        EXPECT_EQ(elementText(childElement(documentRoot(again), "CAN_id")), value);
        EXPECT_EQ(std::string(childElement(documentRoot(again), "row").attribute("IndexA").value()), value);
    }
}

// The fault the ParGen.xml fuzz target found: a value loaded from "&#13;" changed on every save.
TEST(XmlText, ParGenValueWithCarriageReturnSurvivesSaveAndLoad)
{
    TempDir dir;
    const std::string path = dir.file("ParGen.xml");
    writeTestFile(path, "<Par_Gen><CAN_id>1&#13;</CAN_id><M_devid>&#13;</M_devid></Par_Gen>");
    const Result<ParGenValues> first = loadParGen(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->canId, "1\r");
    EXPECT_EQ(first->modbusId, "\r");

    ASSERT_TRUE(saveParGen(*first, path));
    const Result<ParGenValues> second = loadParGen(path);
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, *first);
}

// The readers of the report and the checks go over whatever rows a project has: a missing file
// has none and is no error, a broken one has none and says why, a comment before the root is
// skipped.
TEST(XmlText, LoadXmlRootGivesTheRootOrAnEmptyNodeWithTheReason)
{
    TempDir dir;
    writeTestFile(dir.file("good.xml"), "<?xml version=\"1.0\"?><!-- note --><sdo><row/></sdo>");
    writeTestFile(dir.file("broken.xml"), "<sdo><row></sdo>");
    std::vector<std::string> errors;
    pugi::xml_document doc;

    const pugi::xml_node root = loadXmlRoot(dir.file("good.xml"), doc, &errors);
    EXPECT_STREQ(root.name(), "sdo");
    EXPECT_TRUE(root.child("row"));
    EXPECT_TRUE(errors.empty());

    EXPECT_FALSE(loadXmlRoot(dir.file("missing.xml"), doc, &errors));
    EXPECT_TRUE(errors.empty());

    EXPECT_FALSE(loadXmlRoot(dir.file("broken.xml"), doc, &errors));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_FALSE(errors.front().empty());

    EXPECT_FALSE(loadXmlRoot(dir.file("broken.xml"), doc)); // no list: the reason is dropped
}

} // namespace

} // namespace setforge

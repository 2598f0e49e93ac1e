#include <gtest/gtest.h>

#include "core/base/atomicfile.h"
#include "core/base/xmlfile.h"
#include "testutil.h"

namespace {

TEST(AtomicFile, ReplacesWholeFileAndLeavesNoTemporary)
{
    TempDir dir;
    const std::string path = dir.file("t.xml");
    writeTestFile(path, "old content that is longer than the new one");
    ASSERT_TRUE(writeFileAtomic(path, "new").ok);
    EXPECT_EQ(readTestFile(path), "new");
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(AtomicFile, FailuresComeBackWithTheSystemText)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "adir");
    struct Case {
        std::string path;
    };
    const Case cases[] = {
        {dir.file("adir")},                 // a directory where the file should be
        {dir.file("missing-dir/file.xml")}, // no such directory
    };
    for (const Case& c : cases) {
        const WriteResult r = writeFileAtomic(c.path, "x");
        EXPECT_FALSE(r.ok) << c.path;
        EXPECT_NE(r.error.find(c.path), std::string::npos) << r.error;
        EXPECT_GT(r.error.size(), c.path.size() + 2) << "no system text in: " << r.error;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "adir"));
}

TEST(XmlFile, ShapeAndRootRules)
{
    pugi::xml_document doc;
    pugi::xml_node root = startTableDocument(doc, "Node_Guarding");
    root.append_child("row").append_attribute("NodeID").set_value("2");
    EXPECT_EQ(serializeXml(doc),
              "<Node_Guarding><row NodeID=\"2\"/></Node_Guarding><!--SW_VERSION = 2.001-->");

    struct Case {
        const char* text;
        XmlLoadResult::Status status;
        const char* root;
    };
    const Case cases[] = {
        {"<a><row/></a>", XmlLoadResult::Status::Ok, "a"},
        {"<?xml version=\"1.0\"?><!--c--><b/>", XmlLoadResult::Status::Ok, "b"},
        {"<a><row></a>", XmlLoadResult::Status::NotWellFormed, ""},
        {"", XmlLoadResult::Status::NotWellFormed, ""},
        {"<!-- only a comment -->", XmlLoadResult::Status::NotWellFormed, ""},
    };
    for (const Case& c : cases) {
        pugi::xml_document d;
        const XmlLoadResult r = loadXmlText(c.text, d);
        EXPECT_EQ(r.status, c.status) << c.text;
        EXPECT_STREQ(documentRoot(d).name(), c.root) << c.text;
        if (!r.ok()) {
            EXPECT_FALSE(r.error.empty()) << c.text;
        }
    }
}

TEST(XmlFile, NextElementSkipsCommentsAndText)
{
    pugi::xml_document doc;
    ASSERT_TRUE(loadXmlText("<r><a/>text<!--c--><b/></r>", doc).ok());
    EXPECT_STREQ(nextElement(documentRoot(doc).child("a")).name(), "b");
}

TEST(XmlFile, BlankElementTextSurvivesLoading)
{
    pugi::xml_document doc;
    ASSERT_TRUE(loadXmlText("<r>\n  <a>  </a>\n  <b/>\n</r>", doc).ok());
    EXPECT_EQ(childText(documentRoot(doc), "a"), "  ");
    EXPECT_STREQ(nextElement(documentRoot(doc).child("a")).name(), "b");
}

TEST(XmlFile, MissingAndUnreadableFiles)
{
    TempDir dir;
    pugi::xml_document doc;
    EXPECT_EQ(loadXmlFile(dir.file("none.xml"), doc).status, XmlLoadResult::Status::Missing);
    std::filesystem::create_directory(dir.path() / "d.xml");
    EXPECT_EQ(loadXmlFile(dir.file("d.xml"), doc).status, XmlLoadResult::Status::Unreadable);
}

} // namespace

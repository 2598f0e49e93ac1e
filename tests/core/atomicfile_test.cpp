#include <gtest/gtest.h>

#include <vector>

#include "core/base/atomicfile.h"
#include "core/base/paths.h"
#include "core/base/xmlfile.h"
#include "testutil.h"

namespace setforge {

namespace {

TEST(AtomicFile, ReplacesWholeFileAndLeavesNoTemporary)
{
    TempDir dir;
    const std::string path = dir.file("t.xml");
    writeTestFile(path, "old content that is longer than the new one");
    ASSERT_TRUE(writeFileAtomic(path, "new"));
    EXPECT_EQ(readTestFile(path), "new");
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

std::vector<std::string> namesIn(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(pathToUtf8(entry.path().filename()));
    return names;
}

// A project such as "Prüfstand-Ø2": on Windows a path made from the narrow text would pass
// through the ANSI code page and name another folder, or none.
TEST(AtomicFile, NonAsciiFolderAndFileNames)
{
    TempDir dir;
    const std::string folder = dir.file("Prüfstand-Ø2");
    ASSERT_TRUE(std::filesystem::create_directory(pathFromUtf8(folder)));
    const std::string path = joinPath(folder, "Größe ΑΩ.xml");
    ASSERT_TRUE(writeFileAtomic(path, "first"));
    const Result<void> second = writeFileAtomic(path, "second, over the first");
    ASSERT_TRUE(second) << second.error().text;
    EXPECT_EQ(readTestFile(path), "second, over the first");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"Prüfstand-Ø2"});
    EXPECT_EQ(namesIn(pathFromUtf8(folder)), std::vector<std::string>{"Größe ΑΩ.xml"});
}

// A file the user made read-only stays as it is, with a message that says why.
TEST(AtomicFile, ReadOnlyFileIsRefusedAndKept)
{
    using std::filesystem::perms;
    TempDir dir;
    const std::string path = dir.file("ParGen.xml");
    writeTestFile(path, "the user's protected content");
    std::filesystem::permissions(pathFromUtf8(path),
                                 perms::owner_read | perms::group_read | perms::others_read);
    const Result<void> r = writeFileAtomic(path, "new");
    std::filesystem::permissions(pathFromUtf8(path), perms::owner_read | perms::owner_write);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error().text, "the file is read-only: " + path);
    EXPECT_EQ(readTestFile(path), "the user's protected content");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"ParGen.xml"});
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
        const Result<void> r = writeFileAtomic(c.path, "x");
        EXPECT_FALSE(r) << c.path;
        EXPECT_NE(r.error().text.find(c.path), std::string::npos) << r.error().text;
        EXPECT_GT(r.error().text.size(), c.path.size() + 2) << "no system text in: " << r.error().text;
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
        bool wellFormed;
        const char* root;
    };
    const Case cases[] = {
        {"<a><row/></a>", true, "a"},
        {"<?xml version=\"1.0\"?><!--c--><b/>", true, "b"},
        {"<a><row></a>", false, ""},
        {"", false, ""},
        {"<!-- only a comment -->", false, ""},
    };
    for (const Case& c : cases) {
        pugi::xml_document d;
        const Result<void> r = loadXmlText(c.text, d);
        EXPECT_EQ(static_cast<bool>(r), c.wellFormed) << c.text;
        EXPECT_STREQ(documentRoot(d).name(), c.root) << c.text;
        if (!r) {
            EXPECT_FALSE(r.error().text.empty()) << c.text;
        }
    }
}

TEST(XmlFile, NextElementSkipsCommentsAndText)
{
    pugi::xml_document doc;
    ASSERT_TRUE(loadXmlText("<r><a/>text<!--c--><b/></r>", doc));
    EXPECT_STREQ(nextElement(documentRoot(doc).child("a")).name(), "b");
}

TEST(XmlFile, BlankElementTextSurvivesLoading)
{
    pugi::xml_document doc;
    ASSERT_TRUE(loadXmlText("<r>\n  <a>  </a>\n  <b/>\n</r>", doc));
    EXPECT_EQ(childText(documentRoot(doc), "a"), "  ");
    EXPECT_STREQ(nextElement(documentRoot(doc).child("a")).name(), "b");
}

TEST(XmlFile, MissingAndUnreadableFiles)
{
    TempDir dir;
    pugi::xml_document doc;
    const Result<XmlFile> missing = loadXmlFile(dir.file("none.xml"), doc);
    ASSERT_TRUE(missing);
    EXPECT_EQ(*missing, XmlFile::Missing);
    EXPECT_FALSE(wasRead(missing));

    std::filesystem::create_directory(dir.path() / "d.xml");
    const Result<XmlFile> unreadable = loadXmlFile(dir.file("d.xml"), doc);
    ASSERT_FALSE(unreadable);
    EXPECT_EQ(unreadable.error().file, dir.file("d.xml"));
    EXPECT_FALSE(unreadable.error().text.empty());

    ASSERT_TRUE(writeFileAtomic(dir.file("ok.xml"), "<r/>"));
    EXPECT_TRUE(wasRead(loadXmlFile(dir.file("ok.xml"), doc)));
}

} // namespace

} // namespace setforge

#include <gtest/gtest.h>

#include <filesystem>

#include "core/base/paths.h"
#include "core/lang/textid.h"
#include "core/nodes/nodecatalog.h"
#include "testutil.h"

namespace setforge {

namespace {

std::string fixture(const char* name)
{
    return std::string(SETFORGE_TEST_DATA) + "/eds/" + name;
}

TEST(NodeCatalog, AddCopiesTheEdsAndSavesTheCatalogue)
{
    TempDir project;
    const Result<std::string> added = NodeCatalog::addNodeEds(project.utf8(), 5, fixture("drive.eds"));
    ASSERT_TRUE(added) << added.error().text;
    EXPECT_EQ(*added, "drive.eds");
    EXPECT_EQ(readTestFile(project.file("EDS/drive.eds")), readTestFile(fixture("drive.eds")));
    EXPECT_EQ(readTestFile(project.file("Nodes.xml")),
              "<Nodes><row NodeID=\"5\" File=\"drive.eds\"/></Nodes><!--SW_VERSION = 2.001-->");

    // A second node, added with a lower ID, comes first; the same file is not copied twice.
    ASSERT_TRUE(NodeCatalog::addNodeEds(project.utf8(), 2, fixture("drive.eds")));
    ASSERT_TRUE(NodeCatalog::addNodeEds(project.utf8(), 9, fixture("iomodule.eds")));
    NodeCatalog catalog;
    ASSERT_TRUE(catalog.load(project.utf8()));
    ASSERT_EQ(catalog.nodes().size(), 3u);
    EXPECT_EQ(catalog.nodes()[0].nodeId, 2);
    EXPECT_EQ(catalog.nodes()[0].file, "drive.eds");
    EXPECT_EQ(catalog.nodes()[2].file, "iomodule.eds");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(project.path() / "EDS"),
                            std::filesystem::directory_iterator()),
              2);

    // Removing keeps the copy; saving writes the remaining rows.
    EXPECT_TRUE(catalog.removeNode(2));
    EXPECT_FALSE(catalog.removeNode(2));
    ASSERT_TRUE(catalog.save(project.utf8()));
    EXPECT_EQ(readTestFile(project.file("Nodes.xml")), "<Nodes><row NodeID=\"5\" File=\"drive.eds\"/>"
                                                       "<row NodeID=\"9\" File=\"iomodule.eds\"/></Nodes>"
                                                       "<!--SW_VERSION = 2.001-->");
}

TEST(NodeCatalog, DifferentFileOfTheSameNameIsKept)
{
    TempDir project;
    TempDir source;
    writeTestFile(source.file("node.eds"), "[6041]\nDataType=6\nAccessType=ro\n");
    ASSERT_TRUE(NodeCatalog::addNodeEds(project.utf8(), 3, source.file("node.eds")));
    writeTestFile(source.file("node.eds"), "[6040]\nDataType=6\nAccessType=rw\n");
    const Result<std::string> second = NodeCatalog::addNodeEds(project.utf8(), 4, source.file("node.eds"));
    ASSERT_TRUE(second) << second.error().text;
    EXPECT_EQ(*second, "node-2.eds");
    EXPECT_EQ(readTestFile(project.file("EDS/node.eds")), "[6041]\nDataType=6\nAccessType=ro\n");
}

// Nothing is written when the EDS, the node ID or the existing catalogue is bad.
TEST(NodeCatalog, RefusalsWriteNothing)
{
    TempDir source;
    writeTestFile(source.file("bad.eds"), "[1000]\nDataType=7\nAccessType=ro\n[2000sub1]\nDataType=7\n");
    std::string garbage;
    for (int i = 0; i < 2048; ++i)
        garbage += static_cast<char>((i * 97 + 13) % 256);
    writeTestFile(source.file("garbage.eds"), garbage);
    // 50 MB, made here (sparse) rather than kept in the repository; refused by its size alone.
    writeTestFile(source.file("huge.eds"), "[1000]\n");
    std::filesystem::resize_file(source.path() / "huge.eds", 50'000'000);
    writeTestFile(source.file("empty.eds"), "");
    writeTestFile(source.file("infoonly.eds"), "[FileInfo]\nFileName=x.eds\n[DeviceInfo]\nVendorName=V\n");
    struct Case {
        const char* what;
        const char* catalogue; // nullptr: no Nodes.xml
        int nodeId;
        std::string eds;
        const char* error;
    };
    const Case kCases[] = {
        {"sub-object without parent", nullptr, 5, source.file("bad.eds"), "line 4"},
        {"missing file", nullptr, 5, source.file("none.eds"), "none.eds"},
        {"binary garbage", nullptr, 5, source.file("garbage.eds"), "line 1"},
        {"50 MB file", nullptr, 5, source.file("huge.eds"), "16 MiB"},
        {"0-byte file", nullptr, 5, source.file("empty.eds"), "not an EDS"},
        {"sections but no object", nullptr, 5, source.file("infoonly.eds"), "no object"},
        {"catalogue kept beside a bad EDS", "<Nodes><row NodeID=\"2\" File=\"a.eds\"/></Nodes>", 5,
         source.file("garbage.eds"), "line 1"},
        {"node 0", nullptr, 0, fixture("drive.eds"), "between 1 and 127"},
        {"node 128", nullptr, 128, fixture("drive.eds"), "between 1 and 127"},
        {"broken catalogue", "<Nodes><row NodeID=\"5\"", 6, fixture("drive.eds"), "Nodes.xml"},
    };
    for (const Case& c : kCases) {
        TempDir project;
        if (c.catalogue)
            writeTestFile(project.file("Nodes.xml"), c.catalogue);
        const Result<std::string> result = NodeCatalog::addNodeEds(project.utf8(), c.nodeId, c.eds);
        ASSERT_FALSE(result) << c.what;
        EXPECT_NE(result.error().text.find(c.error), std::string::npos)
            << c.what << ": " << result.error().text;
        EXPECT_EQ(readTestFile(project.file("Nodes.xml")), c.catalogue ? c.catalogue : "<missing>") << c.what;
        EXPECT_FALSE(std::filesystem::exists(project.path() / "EDS" / "drive.eds")) << c.what;
    }
}

// What "Add EDS…" checks before asking anything: the reader's verdict, and a file without any
// object, which the window shows in the user's language through its text number.
TEST(NodeCatalog, ReadNodeEdsRefusesAFileWithoutObjects)
{
    TempDir source;
    // The reader takes a file information section alone; the catalogue does not.
    writeTestFile(source.file("empty.eds"), "[FileInfo]\nFileName=empty.eds\n");
    const Result<EdsRead> empty = NodeCatalog::readNodeEds(source.file("empty.eds"), 5);
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.error().textId, TextId::NodeEdsNoObjects);
    EXPECT_EQ(empty.error().file, source.file("empty.eds"));

    const Result<EdsRead> drive = NodeCatalog::readNodeEds(fixture("drive.eds"), 5);
    ASSERT_TRUE(drive) << edsErrorMessage(drive.error());
    EXPECT_FALSE(drive->device.objects.empty());
}

TEST(NodeCatalog, UnusableRowsAreLeftOutWithAReason)
{
    TempDir project;
    writeTestFile(project.file("Nodes.xml"),
                  "<Nodes><row NodeID=\"5\" File=\"drive.eds\"/><row NodeID=\"0\" File=\"a.eds\"/>"
                  "<row NodeID=\"x\" File=\"a.eds\"/><row NodeID=\"6\" File=\"../secret.eds\"/>"
                  "<row NodeID=\"7\"/><row NodeID=\"0x5\" File=\"other.eds\"/></Nodes>");
    NodeCatalog catalog;
    const Result<std::vector<std::string>> loaded = catalog.load(project.utf8());
    ASSERT_TRUE(loaded);
    ASSERT_EQ(catalog.nodes().size(), 1u);
    EXPECT_EQ(catalog.nodes()[0].file, "drive.eds");
    ASSERT_EQ(loaded->size(), 5u);
    EXPECT_NE((*loaded)[0].find("row 2"), std::string::npos) << (*loaded)[0];
    EXPECT_NE((*loaded)[2].find("EDS folder"), std::string::npos) << (*loaded)[2];
    EXPECT_NE((*loaded)[4].find("twice"), std::string::npos) << (*loaded)[4];

    NodeCatalog missing;
    EXPECT_TRUE(missing.load(project.file("nowhere")));
    EXPECT_TRUE(missing.nodes().empty());
}

} // namespace

} // namespace setforge

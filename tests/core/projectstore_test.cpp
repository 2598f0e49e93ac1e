#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/appstate.h"
#include "core/app/projectstore.h"
#include "core/base/paths.h"
#include "core/lang/uitexts.h"
#include "core/tables/pargenfile.h"
#include "testutil.h"

namespace setforge {

namespace {

struct CreateCase {
    const char* name;
    int expectedError;
};

TEST(ProjectStore, CreateRulesAndRefusals)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "Existing");
    std::filesystem::create_directory(dir.path() / "\xC3\xA9t\xC3\xA9");
    const CreateCase cases[] = {
        {"Line 1", 0},
        {" Leading blank", 0},
        {"Dots.in.name", 0},
        {"Über", 0},
        {"", 107},
        {"Existing", 106},
        {"../Escape", 105},
        {"a/b", 105},
        {"a\\b", 105},
        {".", 105},
        {"..", 105},
        // Case of a-z only: one project on Windows, so refused here too; other letters differ.
        {"existing", 106},
        {"EXISTING", 106},
        {"line 1", 106},
        {"\xC3\x89T\xC3\x89", 0},
    };
    for (const CreateCase& c : cases) {
        const Result<std::string> r = createProject(dir.utf8(), c.name);
        EXPECT_EQ(r ? 0 : r.error().textId, c.expectedError) << "name \"" << c.name << "\"";
        if (c.expectedError == 0) {
            ASSERT_TRUE(r) << c.name;
            EXPECT_EQ(*r, joinPath(dir.utf8(), c.name));
            EXPECT_TRUE(isDirectory(joinPath(*r, "bin"))) << c.name;
        } else {
            EXPECT_EQ(r.error().text, UiTexts().at(c.expectedError)) << c.name;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path().parent_path() / "Escape"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a"));
}

TEST(ProjectStore, CreateFailsWhenDirectoryCannotBeMade)
{
    TempDir dir;
    // PROJECTS missing altogether: one level only is created, so this must fail.
    const Result<std::string> r = createProject(dir.file("NoSuchDir"), "P");
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().textId, 105);
}

TEST(ProjectStore, ListSkipsFilesAndHiddenEntries)
{
    TempDir dir;
    for (const char* d : {"B", "a", "C"})
        std::filesystem::create_directory(dir.path() / d);
    std::filesystem::create_directory(dir.path() / ".hidden");
    writeTestFile(dir.file("file.txt"), "x");
    std::vector<std::string> names = listProjects(dir.utf8());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B", "C", "a"}));
    EXPECT_TRUE(listProjects(dir.file("missing")).empty());
}

TEST(ProjectStore, SearchIgnoresCaseOfAsciiLettersOnly)
{
    const std::vector<std::string> list = {"alpha", "Beta", "\xC3\xA9t\xC3\xA9", "beta"};
    EXPECT_EQ(findProject(list, "BETA"), 1);
    EXPECT_EQ(findProject(list, "beta"), 3); // the exact match first
    EXPECT_EQ(findProject(list, "Beta"), 1);
    EXPECT_EQ(findProject(list, "Alpha"), 0);
    EXPECT_EQ(findProject(list, "\xC3\x89T\xC3\x89"), -1); // É is not folded
    EXPECT_EQ(findProject(list, ""), -1);
    EXPECT_EQ(findProject({}, "x"), -1);
}

struct VariantCase {
    const char* content; // nullptr: no file
    int expected;
};

TEST(ProjectStore, DeviceTypeFromParGen)
{
    const VariantCase cases[] = {
        {nullptr, 0},
        {"<Par_Gen><Select_Device_Type>1</Select_Device_Type></Par_Gen>", 1},
        {"<Par_Gen><Select_Device_Type>0x1</Select_Device_Type></Par_Gen>", 1},
        {"<Par_Gen><Select_Device_Type>0</Select_Device_Type></Par_Gen>", 0},
        {"<Par_Gen><Select_Device_Type></Select_Device_Type></Par_Gen>", 0},
        {"<Par_Gen><Select_Device_Type>abc</Select_Device_Type></Par_Gen>", 0},
        {"<Par_Gen></Par_Gen>", 0},
        {"<!-- edited --><Par_Gen><Select_Device_Type>2</Select_Device_Type></Par_Gen>", 2},
        {"not xml", 0},
    };
    for (const VariantCase& c : cases) {
        TempDir dir;
        if (c.content)
            writeTestFile(dir.file("ParGen.xml"), c.content);
        EXPECT_EQ(readDeviceType(dir.file("ParGen.xml")), c.expected) << (c.content ? c.content : "(none)");
    }
}

TEST(ProjectStore, SetFilesDerivesNinePaths)
{
    const ProjectFiles f = makeProjectFiles("P");
    const std::vector<std::string> got = {f.parGen, f.sdo,         f.emcyDef,           f.emcyWord, f.rpdoDef,
                                          f.sdoPdo, f.transmitPdo, f.transmitPdoDefine, f.nodeGuard};
    const std::vector<std::string> names = {
        "ParGen.xml",   "sdo.xml",    "emcydef.xml",      "emcyword.xml",
        "rpdodef.xml",  "sdopdo.xml", "Transmit_Pdo.xml", "Transmit_PDO_Define.xml",
        "NodeGuard.xml"};
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(got[i], joinPath("P", names[i]));
}

TEST(ProjectStore, ReopensRememberedProjectAtStart)
{
    TempDir dir;
    AppState first;
    startWorkspace(first, dir.utf8());
    ASSERT_TRUE(createProject(first.projectsDir, "Line 7"));
    openProject(first, "Line 7");
    ASSERT_TRUE(saveSettings(first));

    AppState second;
    startWorkspace(second, dir.utf8());
    EXPECT_TRUE(second.hasProject());
    EXPECT_EQ(second.projectDir, joinPath(second.projectsDir, "Line 7"));
    EXPECT_EQ(second.files.sdo, joinPath(second.projectDir, "sdo.xml"));
    EXPECT_EQ(openProjectName(second.projectsDir, second.projectDir), "Line 7");
}

} // namespace

} // namespace setforge

#include "core/app/workspacelocation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "core/app/appstate.h"
#include "core/base/paths.h"
#include "testutil.h"

namespace setforge {

namespace {

// A probe whose answers the test chooses; the install bin folder is set per case.
// An absolute folder in the test's own spelling ("/home/engineer"), made absolute for the
// system the test runs on: Windows needs a drive and spells separators as backslashes.
std::string nativeTestPath(const char* posixPath)
{
#ifdef _WIN32
    std::string path = posixPath[0] == '/' ? std::string("C:") + posixPath : std::string(posixPath);
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
#else
    return posixPath;
#endif
}

WorkspaceProbe fakeProbe(bool writable, std::string installBinDir)
{
    WorkspaceProbe probe;
    probe.installBinDir = std::move(installBinDir);
    probe.binToData = "../share/setforge";
    probe.xdgDataHome = nativeTestPath("/home/engineer/data");
    probe.home = nativeTestPath("/home/engineer");
    probe.isWritable = [writable](std::string_view) { return writable; };
    return probe;
}

TEST(WorkspaceLocation, DecidesPortableOrInstalled)
{
    enum class Holds { Nothing, Settings, Projects };
    struct Case {
        const char* name;
        Holds holds;
        bool writable;
        bool isInstallBin;
        WorkspaceMode expected;
    };
    const Case kCases[] = {
        // A workspace already beside the program stays there, even in the install folder.
        {"settings file beside, read-only install folder", Holds::Settings, false, true,
         WorkspaceMode::Portable},
        {"PROJECTS beside, read-only folder", Holds::Projects, false, false, WorkspaceMode::Portable},
        {"empty writable folder elsewhere", Holds::Nothing, true, false, WorkspaceMode::Portable},
        // Root can write to /usr/bin: the install folder alone must make it installed.
        {"writable install bin folder", Holds::Nothing, true, true, WorkspaceMode::Installed},
        {"read-only folder elsewhere", Holds::Nothing, false, false, WorkspaceMode::Installed},
    };
    for (const Case& c : kCases) {
        TempDir dir;
        const std::string exeDir = dir.utf8();
        if (c.holds == Holds::Settings)
            writeTestFile(dir.file("Setforge.xml"), "<Conf_Settings/>");
        if (c.holds == Holds::Projects)
            std::filesystem::create_directory(dir.path() / "PROJECTS");
        // The same folder spelled with a trailing "." still counts as the install folder.
        const std::string installBin = c.isInstallBin ? exeDir + "/." : std::string("/usr/bin");
        const WorkspaceLocation where = locateWorkspace(exeDir, fakeProbe(c.writable, installBin));
        EXPECT_EQ(where.mode, c.expected) << c.name;
        if (c.expected == WorkspaceMode::Portable) {
            EXPECT_EQ(where.folder, exeDir) << c.name;
            EXPECT_EQ(where.shippedLanguageDir, "") << c.name;
        } else {
            EXPECT_EQ(where.folder, nativeTestPath("/home/engineer/data/Setforge")) << c.name;
            const std::filesystem::path shipped =
                (dir.path() / ".." / "share" / "setforge" / "LANGUAGE").lexically_normal();
            EXPECT_EQ(where.shippedLanguageDir, pathToUtf8(shipped)) << c.name;
        }
        // Deciding creates nothing, so a read-only or shared folder is left as it was.
        if (c.holds != Holds::Projects) {
            EXPECT_FALSE(pathExists(dir.file("PROJECTS"))) << c.name;
        }
        EXPECT_FALSE(pathExists("/home/engineer/data/Setforge")) << c.name;
    }
}

TEST(WorkspaceLocation, UserFolderFollowsXdgDataHome)
{
    struct Case {
        const char* xdgDataHome;
        const char* home;
        const char* expected;
    };
    const Case kCases[] = {
        {"/data/me", "/home/me", "/data/me/Setforge"},
        {"", "/home/me", "/home/me/.local/share/Setforge"},
        // The XDG rules ignore a relative XDG_DATA_HOME.
        {"data", "/home/me", "/home/me/.local/share/Setforge"},
        {"", "", ""},
        {"", "relative/home", ""},
    };
    for (const Case& c : kCases) {
        WorkspaceProbe probe;
        probe.xdgDataHome = nativeTestPath(c.xdgDataHome);
        probe.home = nativeTestPath(c.home);
        EXPECT_EQ(userWorkspaceFolder(probe), nativeTestPath(c.expected)) << c.xdgDataHome << " | " << c.home;
    }
}

// Windows: the installer's folder holds the shipped LANGUAGE beside the program and no
// PROJECTS; the portable zip holds both. Under Wine every folder is writable, so the layout
// alone must tell them apart, and only where the probe asks for it.
TEST(WorkspaceLocation, InstallLayoutDecidesOnWindows)
{
    struct Case {
        const char* name;
        bool shippedLanguages;
        bool projects;
        bool byLayout;
        WorkspaceMode expected;
    };
    const Case kCases[] = {
        {"installed folder", true, false, true, WorkspaceMode::Installed},
        {"unpacked zip", true, true, true, WorkspaceMode::Portable},
        {"bare build folder", false, false, true, WorkspaceMode::Portable},
        {"same folder where the layout does not count", true, false, false, WorkspaceMode::Portable},
    };
    for (const Case& c : kCases) {
        TempDir dir;
        const std::string exeDir = dir.utf8();
        if (c.shippedLanguages)
            std::filesystem::create_directory(dir.path() / "LANGUAGE");
        if (c.projects)
            std::filesystem::create_directory(dir.path() / "PROJECTS");
        WorkspaceProbe probe = fakeProbe(true, "");
        probe.binToData = ".";
        probe.installedByLayout = c.byLayout;
        const WorkspaceLocation where = locateWorkspace(exeDir, probe);
        EXPECT_EQ(where.mode, c.expected) << c.name;
        if (c.expected == WorkspaceMode::Installed) {
            EXPECT_EQ(where.folder, nativeTestPath("/home/engineer/data/Setforge")) << c.name;
            EXPECT_EQ(where.shippedLanguageDir, pathToUtf8(dir.path() / "LANGUAGE")) << c.name;
        } else {
            EXPECT_EQ(where.folder, exeDir) << c.name;
        }
    }
}

// The system's probe takes the user folder from the platform's own variable: LOCALAPPDATA on
// Windows (not the roaming APPDATA), XDG_DATA_HOME elsewhere.
TEST(WorkspaceLocation, SystemProbeTakesThePlatformsUserFolder)
{
    TempDir dir;
    const std::string data = pathToUtf8(dir.path() / "data");
#ifdef _WIN32
    const char* name = "LOCALAPPDATA";
    const std::string decoy = pathToUtf8(dir.path() / "roaming");
    const char* oldDecoy = std::getenv("APPDATA");
    const std::string savedDecoy = oldDecoy ? oldDecoy : "";
    _putenv_s("APPDATA", decoy.c_str());
#else
    const char* name = "XDG_DATA_HOME";
#endif
    const char* old = std::getenv(name);
    const std::string saved = old ? old : "";
    const bool hadOld = old != nullptr;
#ifdef _WIN32
    _putenv_s(name, data.c_str());
#else
    setenv(name, data.c_str(), 1);
#endif
    const WorkspaceProbe probe = systemWorkspaceProbe();
    const std::string folder = userWorkspaceFolder(probe);
#ifdef _WIN32
    _putenv_s(name, hadOld ? saved.c_str() : "");
    _putenv_s("APPDATA", savedDecoy.c_str());
    EXPECT_TRUE(probe.installedByLayout);
    EXPECT_EQ(probe.binToData, ".");
#else
    if (hadOld)
        setenv(name, saved.c_str(), 1);
    else
        unsetenv(name);
    EXPECT_FALSE(probe.installedByLayout);
#endif
    EXPECT_EQ(folder, pathToUtf8(dir.path() / "data" / "Setforge"));
}

// With no home to go to, a read-only folder is still the best place there is.
TEST(WorkspaceLocation, StaysPortableWithoutAHomeFolder)
{
    TempDir dir;
    WorkspaceProbe probe = fakeProbe(false, "/usr/bin");
    probe.xdgDataHome.clear();
    probe.home.clear();
    const WorkspaceLocation where = locateWorkspace(dir.utf8(), probe);
    EXPECT_EQ(where.mode, WorkspaceMode::Portable);
    EXPECT_EQ(where.folder, dir.utf8());
}

// The system's own probe on a folder without write permission. Root writes anywhere, so
// there the folder is writable and the case says nothing; CI runs as root.
TEST(WorkspaceLocation, SystemProbeSeesAReadOnlyFolder)
{
#ifdef _WIN32
    GTEST_SKIP() << "permission bits are a POSIX matter";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: permission bits do not stop root's writes";
    TempDir dir;
    const std::filesystem::path exe = dir.path() / "bin";
    std::filesystem::create_directory(exe);
    std::filesystem::permissions(exe,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    WorkspaceProbe probe = systemWorkspaceProbe();
    probe.xdgDataHome = pathToUtf8(dir.path() / "data");
    const WorkspaceLocation where = locateWorkspace(pathToUtf8(exe), probe);
    std::filesystem::permissions(exe, std::filesystem::perms::owner_all);
    EXPECT_EQ(where.mode, WorkspaceMode::Installed);
    EXPECT_EQ(where.folder, pathToUtf8(dir.path() / "data" / "Setforge"));
#endif
}

// An installed start makes the user's workspace, keeps its settings there, and reads a
// language that only the shipped folder holds.
TEST(WorkspaceLocation, InstalledStartUsesTheUserFolderAndShippedLanguages)
{
    TempDir dir;
    const std::filesystem::path shipped = dir.path() / "share" / "setforge" / "LANGUAGE";
    std::filesystem::create_directories(shipped);
    std::filesystem::create_directories(dir.path() / "bin");
    writeTestFile(pathToUtf8(shipped / "Deutsch.lng"), "header\nSTR0 = Anfang\n");
    const std::string userFolder = pathToUtf8(dir.path() / "home" / "data" / "Setforge");
    std::filesystem::create_directories(userFolder);
    writeTestFile(joinPath(userFolder, "Setforge.xml"),
                  "<Conf_Settings><lastlang><language>Deutsch</language></lastlang></Conf_Settings>");

    WorkspaceLocation where;
    where.mode = WorkspaceMode::Installed;
    where.folder = userFolder;
    where.shippedLanguageDir = pathToUtf8(shipped);
    AppState state;
    startWorkspace(state, pathToUtf8(dir.path() / "bin"), where);

    EXPECT_EQ(state.settingsPath(), joinPath(userFolder, "Setforge.xml"));
    for (const char* sub : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(isDirectory(joinPath(userFolder, sub))) << sub;
    EXPECT_FALSE(pathExists(pathToUtf8(dir.path() / "bin" / "PROJECTS")));
    EXPECT_EQ(state.languageName, "Deutsch");
    EXPECT_EQ(state.texts[0], "Anfang");

    // A fresh account has no data folder yet: the start makes it, parents included.
    WorkspaceLocation fresh = where;
    fresh.folder = pathToUtf8(dir.path() / "other" / "share" / "Setforge");
    AppState first;
    startWorkspace(first, pathToUtf8(dir.path() / "bin"), fresh);
    EXPECT_TRUE(isDirectory(joinPath(fresh.folder, "PROJECTS")));
    EXPECT_EQ(first.languageName, "English");
}

} // namespace

} // namespace setforge

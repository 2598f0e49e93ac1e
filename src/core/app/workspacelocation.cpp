#include "core/app/workspacelocation.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "core/base/paths.h"

// Both come from the build's configuration (GNUInstallDirs); the fallbacks keep a build
// configured without them on the usual layout.
#ifndef SETFORGE_INSTALL_BINDIR
#define SETFORGE_INSTALL_BINDIR "/usr/local/bin"
#endif
#ifndef SETFORGE_BIN_TO_DATA
#define SETFORGE_BIN_TO_DATA "../share/setforge"
#endif

namespace setforge {

namespace {

std::string environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool isAbsoluteFolder(const std::string& text)
{
    return !text.empty() && pathFromUtf8(text).is_absolute();
}

// The same folder, also when it is reached by another spelling or through a link.
bool sameFolder(std::string_view a, std::string_view b)
{
    if (a.empty() || b.empty())
        return false;
    const std::filesystem::path pa = pathFromUtf8(a);
    const std::filesystem::path pb = pathFromUtf8(b);
    std::error_code ec;
    const bool equivalent = std::filesystem::equivalent(pa, pb, ec);
    if (!ec)
        return equivalent;
    return pa.lexically_normal() == pb.lexically_normal();
}

bool systemIsWritable(std::string_view dir)
{
#ifdef _WIN32
    // Sees the read-only attribute only, not the folder's access list; an installed copy is
    // recognised by its install folder instead.
    return _waccess(pathFromUtf8(dir).c_str(), 2) == 0;
#else
    return access(pathFromUtf8(dir).c_str(), W_OK) == 0;
#endif
}

} // namespace

WorkspaceProbe systemWorkspaceProbe()
{
    WorkspaceProbe probe;
    probe.installBinDir = SETFORGE_INSTALL_BINDIR;
    probe.binToData = SETFORGE_BIN_TO_DATA;
#ifdef _WIN32
    // Windows has no XDG folders; the per-user local application data folder takes their
    // place, as it stays on the machine (the roaming one follows the user to the server).
    probe.xdgDataHome = environmentValue("LOCALAPPDATA");
    probe.home = environmentValue("USERPROFILE");
    // The installer lets the user choose the folder, and under Wine, or for an administrator,
    // Program Files is writable: the shipped data beside the program tells an installed copy.
    probe.installedByLayout = true;
#else
    probe.xdgDataHome = environmentValue("XDG_DATA_HOME");
    probe.home = environmentValue("HOME");
#endif
    probe.isWritable = systemIsWritable;
    return probe;
}

std::string userWorkspaceFolder(const WorkspaceProbe& probe)
{
    if (isAbsoluteFolder(probe.xdgDataHome))
        return pathToUtf8(pathFromUtf8(probe.xdgDataHome) / "Setforge");
    if (isAbsoluteFolder(probe.home))
        return pathToUtf8(pathFromUtf8(probe.home) / ".local" / "share" / "Setforge");
    return {};
}

WorkspaceLocation locateWorkspace(std::string_view exeDir, const WorkspaceProbe& probe)
{
    WorkspaceLocation portable;
    portable.mode = WorkspaceMode::Portable;
    portable.folder = std::string(exeDir);

    // A workspace already in use beside the executable stays where it is.
    if (pathExists(joinPath(exeDir, "Setforge.xml")) || pathExists(joinPath(exeDir, "PROJECTS")))
        return portable;
    const std::string shipped =
        pathToUtf8((pathFromUtf8(exeDir) / pathFromUtf8(probe.binToData) / "LANGUAGE").lexically_normal());
    const bool installFolder =
        sameFolder(exeDir, probe.installBinDir) || (probe.installedByLayout && isDirectory(shipped));
    const bool writable = probe.isWritable && probe.isWritable(exeDir);
    if (writable && !installFolder)
        return portable;

    const std::string userFolder = userWorkspaceFolder(probe);
    if (userFolder.empty())
        return portable;
    WorkspaceLocation installed;
    installed.mode = WorkspaceMode::Installed;
    installed.folder = userFolder;
    installed.shippedLanguageDir = shipped;
    return installed;
}

} // namespace setforge

#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace setforge {

// Where the program keeps MASTER, PROJECTS, LANGUAGE, Setforge.xml and looks for the updaters.
// A portable copy keeps them beside its executable; an installed program, whose folder the
// user cannot write, keeps them in the user's data folder and reads the shipped languages
// from the share folder installed beside its bin folder.
enum class WorkspaceMode { Portable, Installed };

struct WorkspaceLocation {
    WorkspaceMode mode = WorkspaceMode::Portable;
    std::string folder;             // the workspace folder, no trailing separator
    std::string shippedLanguageDir; // languages installed with the program; empty when portable
};

// What the decision looks at outside the executable's folder; tests replace each part.
struct WorkspaceProbe {
    std::string installBinDir; // the install prefix's bin folder, fixed when the build was configured
    std::string binToData;     // the shipped-data folder relative to the bin folder ("../share/setforge")
    std::string xdgDataHome;   // $XDG_DATA_HOME; empty when unset
    std::string home;          // $HOME; empty when unset
    // Windows: the install folder is chosen when installing, so no configured bin folder can
    // name it. An executable whose folder holds the shipped data at binToData is installed.
    bool installedByLayout = false;
    // True when the running user may create files in `dir`.
    std::function<bool(std::string_view dir)> isWritable;
};

// The probe of the running process: the configured install folders, the environment, and
// the operating system's own answer to "may I write here" (as root that is nearly always yes).
WorkspaceProbe systemWorkspaceProbe();

// The per-user workspace folder: $XDG_DATA_HOME/Setforge, or ~/.local/share/Setforge when
// XDG_DATA_HOME is unset, empty or relative (the XDG rules ignore a relative one). Empty
// text when neither gives an absolute folder. On Windows the system probe puts
// %LOCALAPPDATA% in the place of XDG_DATA_HOME, giving %LOCALAPPDATA%\Setforge.
std::string userWorkspaceFolder(const WorkspaceProbe& probe);

// Decides the workspace of an executable in `exeDir`. Portable when that folder already holds
// Setforge.xml or PROJECTS, or when it is writable and is not the install prefix's bin folder
// (with installedByLayout: and holds no shipped LANGUAGE folder at binToData); installed
// otherwise. An installed program without a usable home folder stays portable, as
// there is nowhere else to go. Reads the file system only; creates nothing.
WorkspaceLocation locateWorkspace(std::string_view exeDir, const WorkspaceProbe& probe);

} // namespace setforge

#pragma once

#include <string>
#include <string_view>

#include "core/app/settings.h"
#include "core/app/workspacelocation.h"
#include "core/base/atomicfile.h"
#include "core/base/product.h"
#include "core/base/projectfiles.h"
#include "core/lang/languagefolders.h"
#include "core/lang/uitexts.h"

namespace setforge {

// The process-wide values of the program, owned by the application shell. Windows read
// and write them directly; one instance lives from start to end.
struct AppState {
    std::string exeDir;       // directory of the executable, no trailing separator
    std::string workspaceDir; // exeDir when portable, the user's data folder when installed
    WorkspaceMode workspaceMode = WorkspaceMode::Portable;
    std::string masterDir;          // workspaceDir/MASTER: firmware files for the updaters
    std::string projectsDir;        // workspaceDir/PROJECTS: one directory per project
    std::string languageDir;        // workspaceDir/LANGUAGE: the user's language files and flags
    std::string shippedLanguageDir; // languages installed with the program; empty when portable
    std::string projectName;        // last or current project name
    std::string projectDir;         // empty while no project is open
    ProjectFiles files;             // the nine table paths of projectDir
    std::string deviceIp = "192.168.2.205";
    std::string languageName = "English";
    bool enableInternet = false;
    bool enableUpdate = false;
    bool enableJumpFieldTables = false;
    bool doubleClickAutoSize = false;
    int updateOption = 0; // 0 firmware + configuration, 1 firmware, 2 configuration
    bool readBack = true;
    int deviceType = 0; // 0: no Ethernet port; other: Ethernet port
    UiTexts texts;

    // Path of the settings file in the workspace.
    std::string settingsPath() const;
    // The language folders: the workspace's, then the shipped one.
    LanguageFolders languageFolders() const { return LanguageFolders(languageDir, shippedLanguageDir); }
    // True while a project is open.
    bool hasProject() const { return !projectDir.empty(); }
};

// Program start without windows: fixes the workspace at `where` (creating its folder when
// installed, then MASTER, PROJECTS and LANGUAGE when missing, failures ignored), reads the
// settings, loads the texts of the saved language and reopens the remembered project when
// its directory exists.
void startWorkspace(AppState& state, std::string_view exeDir, const WorkspaceLocation& where);

// The same with a portable workspace beside `exeDir`.
void startWorkspace(AppState& state, std::string_view exeDir);

// Opens the project `name` (empty: closes any), derives the file paths and reads the
// device variant from its ParGen.xml.
void openProject(AppState& state, std::string_view name);

// Reads Device_Type from the open project's ParGen.xml (0 with no project).
void refreshDeviceType(AppState& state);

// The settings as the process-wide values hold them now.
Settings currentSettings(const AppState& state);

// Writes the settings file in the workspace.
Result<void> saveSettings(const AppState& state);

} // namespace setforge

#pragma once

#include <string>
#include <string_view>

#include "core/app/atomicfile.h"
#include "core/app/projectfiles.h"
#include "core/app/settings.h"
#include "core/lang/uitexts.h"

// Constants shown by several windows.
inline constexpr const char* kSoftwareCode = "KX40917";
inline constexpr const char* kDeviceDescription = "CANopen / Modbus Slave - Converter";
inline constexpr const char* kSoftwareVersion = "2.001";
inline constexpr const char* kDocumentCode = "KM40917";
inline constexpr const char* kDeviceCode = "KD40917";
inline constexpr const char* kMainWindowTitle = "Telvora - Configurator KX40917 - CANopen / Modbus Slave ";

// The process-wide values of the program, owned by the application shell. Windows read
// and write them directly; one instance lives from start to end.
struct AppState {
    std::string exeDir;      // directory of the executable, no trailing separator
    std::string masterDir;   // exeDir/MASTER: firmware files for the updaters
    std::string projectsDir; // exeDir/PROJECTS: one directory per project
    std::string languageDir; // exeDir/LANGUAGE: language files and flags
    std::string projectName; // last or current project name
    std::string projectDir;  // empty while no project is open
    ProjectFiles files;      // the nine table paths of projectDir
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

    // Path of the settings file beside the executable.
    std::string settingsPath() const;
    // True while a project is open.
    bool hasProject() const { return !projectDir.empty(); }
};

// Program start without windows: fixes the workspace beside `exeDir` (creating MASTER,
// PROJECTS and LANGUAGE when missing, failures ignored), reads the settings, loads the
// texts of the saved language and reopens the remembered project when its directory exists.
void startWorkspace(AppState& state, std::string_view exeDir);

// Opens the project `name` (empty: closes any), derives the file paths and reads the
// device variant from its ParGen.xml.
void openProject(AppState& state, std::string_view name);

// Reads Device_Type from the open project's ParGen.xml (0 with no project).
void refreshDeviceType(AppState& state);

// The settings as the process-wide values hold them now.
Settings currentSettings(const AppState& state);

// Writes the settings file beside the executable.
WriteResult saveSettings(const AppState& state);

#include "core/app/appstate.h"

#include <filesystem>
#include <system_error>

#include "core/app/projectstore.h"
#include "core/base/paths.h"
#include "core/lang/languagefile.h"
#include "core/tables/pargenfile.h"

namespace setforge {

std::string AppState::settingsPath() const
{
    return joinPath(workspaceDir, "Setforge.xml");
}

void startWorkspace(AppState& state, std::string_view exeDir)
{
    WorkspaceLocation beside;
    beside.folder = std::string(exeDir);
    startWorkspace(state, exeDir, beside);
}

void startWorkspace(AppState& state, std::string_view exeDir, const WorkspaceLocation& where)
{
    state.exeDir = std::string(exeDir);
    state.workspaceDir = where.folder;
    state.workspaceMode = where.mode;
    state.shippedLanguageDir = where.shippedLanguageDir;
    state.masterDir = joinPath(where.folder, "MASTER");
    state.projectsDir = joinPath(where.folder, "PROJECTS");
    state.languageDir = joinPath(where.folder, "LANGUAGE");
    if (where.mode == WorkspaceMode::Installed) {
        // The user's data folder may not exist yet on a fresh account.
        std::error_code ec;
        std::filesystem::create_directories(pathFromUtf8(where.folder), ec);
    }
    for (const std::string* dir : {&state.masterDir, &state.projectsDir, &state.languageDir}) {
        std::error_code ec;
        if (!isDirectory(*dir))
            std::filesystem::create_directory(pathFromUtf8(*dir), ec);
    }
    state.projectName.clear();
    state.readBack = true;

    const Settings settings = readSettings(state.settingsPath());
    state.projectName = settings.projectName;
    state.deviceIp = settings.deviceIp;
    state.languageName = settings.languageName;
    state.enableInternet = settings.enableInternet;
    state.enableUpdate = settings.enableUpdate;
    state.enableJumpFieldTables = settings.enableJumpFieldTables;
    state.doubleClickAutoSize = settings.doubleClickAutoSize;

    state.languageName = loadLanguage(state.texts, state.languageFolders(), state.languageName);

    const std::string remembered = joinPath(state.projectsDir, state.projectName);
    if (!state.projectName.empty() && isDirectory(remembered))
        state.projectDir = remembered;
    else
        state.projectDir.clear();
    state.files = makeProjectFiles(state.projectDir);
    refreshDeviceType(state);
}

void openProject(AppState& state, std::string_view name)
{
    if (name.empty()) {
        state.projectName.clear();
        state.projectDir.clear();
    } else {
        state.projectName = std::string(name);
        state.projectDir = joinPath(state.projectsDir, name);
    }
    state.files = makeProjectFiles(state.projectDir);
    refreshDeviceType(state);
}

void refreshDeviceType(AppState& state)
{
    state.deviceType = state.hasProject() ? readDeviceType(state.files.parGen) : 0;
}

Settings currentSettings(const AppState& state)
{
    Settings settings;
    settings.projectName = state.projectName;
    settings.deviceIp = state.deviceIp;
    settings.languageName = state.languageName;
    settings.enableInternet = state.enableInternet;
    settings.enableUpdate = state.enableUpdate;
    settings.enableJumpFieldTables = state.enableJumpFieldTables;
    settings.doubleClickAutoSize = state.doubleClickAutoSize;
    return settings;
}

Result<void> saveSettings(const AppState& state)
{
    return writeSettings(state.settingsPath(), currentSettings(state));
}

} // namespace setforge

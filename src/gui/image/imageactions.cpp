#include "gui/app/windowfactory.h"

#include <ctime>

#include "core/app/appstate.h"
#include "core/image/compileimages.h"
#include "core/image/edswriter.h"
#include "core/lang/textid.h"
#include "core/report/projectcheck.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/image/edsfilechooser.h"

namespace setforge {

namespace {

// The project checks of `setforge-cli check`, before anything is written. Failed checks are
// listed, each with its file and row, and the user decides with No as the default; warnings
// alone do not ask. True when the update goes on.
bool confirmProjectCheck(AppState& state, QWidget* parent)
{
    const ProjectFindings findings = checkProject(state.files);
    if (findings.ok())
        return true;
    QString text = qs(state.texts.at(TextId::CheckFoundProblems));
    for (const std::string& error : findings.errors)
        text += "\n" + qs(error);
    text += "\n\n" + qs(state.texts.at(TextId::UpdateAnyway));
    return messages().question(parent, text);
}

} // namespace

void updateDevice(AppState& state, QWidget* parent, SetforgeDialog* updateWindow)
{
    if (!state.hasProject())
        return;
    if (!confirmProjectCheck(state, parent))
        return;
    // Each message is shown the moment the compile reaches it, as a box of its own kind.
    const MessageSink show = [parent](const CompileMessage& message) {
        const QString text = qs(message.text);
        switch (message.kind) {
        case CompileMessage::Kind::Information:
            messages().information(parent, text);
            break;
        case CompileMessage::Kind::Warning:
            messages().warning(parent, text);
            break;
        case CompileMessage::Kind::Error:
            messages().error(parent, text);
            break;
        }
    };
    int deviceType = 0;
    // A stopped compile or an image that could not be written has been reported; the device
    // must not be updated with a partial or stale set.
    if (!compileAndWriteImages(state.projectDir, show, &deviceType))
        return;
    showUpdateWindow(updateWindow, deviceType);
}

void buildEdsFile(AppState& state, QWidget* parent)
{
    if (!state.hasProject())
        return;
    const QString chosen = EdsFileChooser::instance().chooseSaveFile(parent, qs(state.projectDir),
                                                                     QString::fromUtf8(kEdsFileFilter));
    if (chosen.isEmpty())
        return;
    const Result<void> written =
        writeEdsFile(state.files, us(withEdsExtension(chosen)), edsClockAt(std::time(nullptr)));
    if (!written)
        messages().error(parent, qs(written.error().text));
}

} // namespace setforge

#include "gui/app/windowfactory.h"

#include <ctime>

#include "core/app/appstate.h"
#include "core/flow/updateflow.h"
#include "core/image/compileimages.h"
#include "core/image/edswriter.h"
#include "core/lang/textid.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/image/edsfilechooser.h"

namespace setforge {

namespace {

// The project checks of `setforge-cli check`, before anything is written. Every finding is
// listed in a scrolling list, each with its file and row, errors and warnings alike, as `check`
// prints them. Failed checks ask, with No as the default; warnings alone are shown and the update
// goes on. True when the update goes on.
bool confirmFindings(AppState& state, QWidget* parent, const ProjectFindings& findings)
{
    if (findings.errors.empty() && findings.warnings.empty())
        return true;
    MessageList box;
    for (const std::string& line : findingLines(findings))
        box.items << qs(line);
    if (findings.ok()) {
        box.kind = MessageList::Kind::Warning;
        box.text = qs(state.texts.at(TextId::CheckFoundWarnings));
        box.buttons = MessageList::Buttons::Ok;
        messages().list(parent, box);
        return true;
    }
    box.kind = MessageList::Kind::Question;
    box.text =
        qs(state.texts.at(TextId::CheckFoundProblems)) + "\n\n" + qs(state.texts.at(TextId::UpdateAnyway));
    box.buttons = MessageList::Buttons::YesNo;
    return messages().list(parent, box);
}

} // namespace

void updateDevice(AppState& state, QWidget* parent, SetforgeDialog* updateWindow)
{
    if (!state.hasProject())
        return;
    UpdatePlanSteps steps;
    steps.reviewFindings = [&state, parent](const ProjectFindings& findings) {
        return confirmFindings(state, parent, findings);
    };
    // Each message is shown the moment the compile reaches it, as a box of its own kind.
    steps.compileMessages = [parent](const CompileMessage& message) {
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
    UpdateRequest request;
    request.projectDir = state.projectDir;
    // A refused check or a stopped compile has been shown; the device must not be updated with
    // a partial or stale set.
    const Result<UpdatePlan> plan = planUpdate(state.files, request, steps);
    if (!plan)
        return;
    const Result<void> written = writePlannedImages(*plan);
    if (!written) {
        messages().error(parent, qs(written.error().text));
        return;
    }
    // The dialog offers the port or the address; Execute hands its choices to the updater.
    showUpdateWindow(updateWindow, updateFormType(plan->target.transport));
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

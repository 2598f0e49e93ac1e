#include "gui/app/windowfactory.h"

#include <ctime>

#include "core/app/appstate.h"
#include "core/image/compileimages.h"
#include "core/image/edswriter.h"
#include "gui/app/mainwindow.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/image/edsfilechooser.h"

void updateDevice(MainWindow& main)
{
    AppState& state = main.state();
    if (!state.hasProject())
        return;
    // Each message is shown the moment the compile reaches it, as a box of its own kind.
    const MessageSink show = [&main](const CompileMessage& message) {
        const QString text = qs(message.text);
        switch (message.kind) {
        case CompileMessage::Kind::Information:
            messages().information(&main, text);
            break;
        case CompileMessage::Kind::Warning:
            messages().warning(&main, text);
            break;
        case CompileMessage::Kind::Error:
            messages().error(&main, text);
            break;
        }
    };
    int deviceType = 0;
    // A stopped compile or an image that could not be written has been reported; the device
    // must not be updated with a partial or stale set.
    if (!compileAndWriteImages(state.projectDir, show, &deviceType))
        return;
    showBootWindow(main.windows().boot, deviceType);
}

void buildEdsFile(MainWindow& main)
{
    AppState& state = main.state();
    if (!state.hasProject())
        return;
    const QString chosen = EdsFileChooser::instance().chooseSaveFile(&main, qs(state.projectDir),
                                                                     QString::fromUtf8(kEdsFileFilter));
    if (chosen.isEmpty())
        return;
    const WriteResult written =
        writeEdsFile(state.files, us(withEdsExtension(chosen)), edsClockAt(std::time(nullptr)));
    if (!written.ok)
        messages().error(&main, qs(written.error));
}

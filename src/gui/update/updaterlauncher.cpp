#include "gui/update/updaterlauncher.h"

#include <algorithm>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include "core/update/commandline.h"
#include "core/update/updatefiles.h"
#include "gui/app/inputdropper.h"
#include "gui/app/qtext.h"

namespace setforge {

namespace {

constexpr int kTickMs = 100;

} // namespace

ProcessOutcome QProcessUpdaterLauncher::start(const std::string& program, const std::string& argumentText,
                                              int timeoutMs, const UpdaterTick& tick)
{
    ProcessOutcome outcome;
    auto* process = new QProcess;
    process->setProgram(qs(program));
#ifdef Q_OS_WIN
    process->setNativeArguments(qs(argumentText));
#else
    QStringList arguments;
    for (const std::string& argument : splitWindowsArguments(argumentText))
        arguments << qs(argument);
    process->setArguments(arguments);
#endif
    process->start();
    if (!process->waitForStarted(-1)) {
        outcome.error = program + ": " + us(process->errorString());
        delete process;
        return outcome;
    }

    // A nested loop rather than a blocking wait: the windows go on painting, and the system
    // does not mark them as not responding and invite the user to end the program mid-flash.
    InputDropper dropper;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    QTimer ticker;
    QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        const qint64 elapsed = clock.elapsed();
        if (elapsed >= timeoutMs) {
            loop.quit();
            return;
        }
        if (tick)
            tick(static_cast<int>(elapsed));
    });
    ticker.start(std::min(kTickMs, std::max(1, timeoutMs)));
    if (process->state() != QProcess::NotRunning)
        loop.exec();
    ticker.stop();

    if (process->state() == QProcess::NotRunning) {
        outcome.status = ProcessOutcome::Status::Exited;
        outcome.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
        delete process;
        return outcome;
    }
    // Destroying a QProcess kills its program, and an updater must never be cut off while it
    // writes the device: the object lives on until the updater ends by itself.
    QObject::disconnect(process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    outcome.status = ProcessOutcome::Status::TimedOut;
    return outcome;
}

} // namespace setforge

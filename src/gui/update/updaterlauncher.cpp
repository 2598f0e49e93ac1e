#include "gui/update/updaterlauncher.h"

#include <QObject>
#include <QProcess>
#include <QStringList>

#include "core/update/commandline.h"
#include "core/update/updatefiles.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"

ProcessOutcome QProcessUpdaterLauncher::start(const std::string& program, const std::string& argumentText,
                                              int timeoutMs)
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
    if (process->waitForFinished(timeoutMs)) {
        outcome.status = ProcessOutcome::Status::Exited;
        outcome.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
        delete process;
        return outcome;
    }
    // Destroying a QProcess kills its program, and an updater must never be cut off while it
    // writes the device: the object lives on until the updater ends by itself.
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    outcome.status = ProcessOutcome::Status::TimedOut;
    return outcome;
}

void startUpdater(UpdaterLauncher& launcher, QWidget* parent, const std::string& program,
                  const std::string& argumentText)
{
    const ProcessOutcome outcome = launcher.start(program, argumentText, kUpdaterWaitMs);
    if (outcome.status == ProcessOutcome::Status::StartFailed)
        messages().error(parent, QObject::tr("Cannot start the updater: %1").arg(qs(program)));
}

#pragma once

#include <string>

#include "core/update/processstart.h"

class QWidget;

// Starts an updater program and waits for it. The update dialog holds one; tests replace it.
class UpdaterLauncher {
public:
    virtual ~UpdaterLauncher() = default;
    // Starts `program` with the Windows-style `argumentText`, without a shell, in the current
    // directory, and waits up to `timeoutMs` without processing window messages.
    virtual ProcessOutcome start(const std::string& program, const std::string& argumentText,
                                 int timeoutMs) = 0;
};

// QProcess: on Windows the text is the native command line; elsewhere it is split by the
// Windows quoting rules, so quoted paths stay whole. An updater still running after the
// wait is left running.
class QProcessUpdaterLauncher : public UpdaterLauncher {
public:
    ProcessOutcome start(const std::string& program, const std::string& argumentText, int timeoutMs) override;
};

// Starts the updater `program` and waits at most 150 s. A program that cannot be started is
// reported in an error box naming its path; the updater's own outcome is not looked at.
void startUpdater(UpdaterLauncher& launcher, QWidget* parent, const std::string& program,
                  const std::string& argumentText);

#pragma once

#include <functional>
#include <string>

#include "core/update/processstart.h"

namespace setforge {

// Called while an updater runs, about ten times a second, with the milliseconds since it started.
using UpdaterTick = std::function<void(int elapsedMs)>;

// Starts an updater program and waits for it. The update dialog holds one; tests replace it.
class UpdaterLauncher {
public:
    virtual ~UpdaterLauncher() = default;
    // Starts `program` with the Windows-style `argumentText`, without a shell, in the current
    // directory, and waits up to `timeoutMs`. While it waits the windows keep painting, but
    // user input is dropped, neither taken nor kept for later; `tick` (if set) follows the wait.
    virtual ProcessOutcome start(const std::string& program, const std::string& argumentText, int timeoutMs,
                                 const UpdaterTick& tick = {}) = 0;
};

// QProcess: on Windows the text is the native command line; elsewhere it is split by the
// Windows quoting rules, so quoted paths stay whole. An updater still running after the
// wait is left running.
class QProcessUpdaterLauncher : public UpdaterLauncher {
public:
    ProcessOutcome start(const std::string& program, const std::string& argumentText, int timeoutMs,
                         const UpdaterTick& tick = {}) override;
};

} // namespace setforge

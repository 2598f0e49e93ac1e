#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/base/projectfiles.h"
#include "core/base/result.h"
#include "core/image/compileimages.h"
#include "core/lang/uitexts.h"
#include "core/report/projectcheck.h"
#include "core/update/echoclient.h"
#include "core/update/ethernetjob.h"
#include "core/update/processstart.h"
#include "core/update/sendping.h"
#include "core/update/updatefiles.h"
#include "core/update/updateoptions.h"

namespace setforge {

// The line a device is updated over.
enum class UpdateTransport { Serial, Ethernet };

// Device type 0 has no Ethernet port and is updated over the serial line; every other value has
// the port and is updated over Ethernet, as the main window's steps read it.
UpdateTransport transportForDeviceType(int deviceType);

// The update dialog's form type for a transport: 0 the serial layout, 1 the Ethernet layout.
int updateFormType(UpdateTransport transport);

// What the user asked for: which project, where the device is and what to write.
struct UpdateRequest {
    std::string projectDir;   // absolute; its bin folder receives the images
    std::string workspaceDir; // the updater programs and the Ethernet job file lie here
    std::string masterDir;    // the firmware files
    std::string serialDevice; // the device path the serial updater opens ("\\.\COM3", "/dev/ttyS0")
    std::string ipAddress;    // the device's dotted address, for Ethernet
    int option = kUpdateFirmwareAndConfiguration; // 0 firmware + configuration, 1 firmware, 2 configuration
    bool readBack = true;
};

// The updater to start for one transport and what it is given.
struct UpdateTarget {
    UpdateTransport transport = UpdateTransport::Serial;
    std::string program;      // full path of the serial or the Ethernet updater
    std::string argumentText; // the serial updater's whole argument text; empty for Ethernet
    EthernetJob job;          // Ethernet only: the job file's content
    std::string jobPath;      // Ethernet only: where the job file goes
};

// The updater, argument text or job for `transport` and `request`. Builds text only.
UpdateTarget targetUpdate(UpdateTransport transport, const UpdateRequest& request);

// The firmware files below `masterDir` that an updater over `transport` is handed: the serial
// firmware, or for Ethernet the main and the ESP32 firmware (the job always holds both sections).
std::vector<std::string> firmwareFilesFor(UpdateTransport transport);

// One error per firmware file of `transport` that option `updateOption` writes and `masterDir`
// lacks ("MASTER/sim40917.sim: the firmware file is missing; ..."); none for an option
// without firmware. The updater would otherwise be handed a file that does not exist.
std::vector<std::string> missingFirmwareErrors(UpdateTransport transport, int updateOption,
                                               const std::string& masterDir);

// A checked and compiled project, ready to be written and handed to its updater.
struct UpdatePlan {
    std::string projectDir;
    ProjectFindings findings; // what the checks found (warnings, or errors the front end accepted)
    CompiledImages images;    // the compile's three images, in memory
    UpdateTarget target;      // the transport follows the compiled device type
};

// How a front end takes part while an update is planned; every member may be empty.
struct UpdatePlanSteps {
    // The project checks; empty: checkProject on the project's files.
    std::function<ProjectFindings(const ProjectFiles&)> check;
    // Sees every check's findings and says whether to go on; empty: go on only when no check failed.
    std::function<bool(const ProjectFindings&)> reviewFindings;
    // Compiles the images; empty: compileImages.
    std::function<CompiledImages(const ProjectFiles&, const MessageSink&)> compile;
    // Receives each compile message the moment it is made.
    MessageSink compileMessages;
};

// Runs every check of `check` on `project`, adds missingFirmwareErrors for the transport of
// the project's Select_Device_Type when `request.masterDir` is given (a front end that asks
// for the option later leaves it empty and checks the firmware then), compiles the images in memory, takes
// the transport from the compiled device type and builds its target from `request`. An Error when the
// findings were not accepted or the compile stopped (its reason went to compileMessages).
// Writes nothing.
Result<UpdatePlan> planUpdate(const ProjectFiles& project, const UpdateRequest& request,
                              const UpdatePlanSteps& steps = {});

// Writes the plan's three images into its project's bin folder (writeImageFiles).
Result<void> writePlannedImages(const UpdatePlan& plan);

// What runUpdate reaches outside with. Null or empty members take the system's own.
struct UpdateServices {
    EchoClient* echo = nullptr;          // the reachability check's echoes
    std::function<std::int64_t()> nowMs; // the check's millisecond clock
    std::function<void()> idle;          // runs between the check's short waits (a window's messages)
    ProcessRunner* runner = nullptr;     // starts the updater and waits for it
    int waitMs = kUpdaterWaitMs;         // the longest wait for the updater; 0 or less: kUpdaterWaitMs
};

// Where an update stopped before its updater ran.
enum class UpdateStop {
    None,            // the updater was started
    NoSerialPort,    // a serial update without a port: the updater would take "FW" for its port
    DeviceNotFound,  // the last echo had no reply
    AddressUnusable, // no echo could be sent to the address
    JobNotWritten,   // the Ethernet job file could not be written
    NotStarted,      // the updater program could not be started
};

// How an update went. `outcome` holds how the updater ended (exited with its code, or left
// running after the wait), or the Error that stopped the update; `stop` says which step stopped
// it. A stop that the dialog reports with a UI text (no port 1507, device not found 1536,
// address unusable 1537) carries that number as the Error's textId.
struct UpdateRun {
    Result<ProcessOutcome> outcome = ProcessOutcome{ProcessOutcome::Status::Exited, 0, {}};
    UpdateStop stop = UpdateStop::None;
    PingResult ping; // the reachability check's measurement (Ethernet only)
};

// Hands `target` to its updater. Serial: refuses an empty port, else starts the serial updater
// with its argument text. Ethernet: the reachability check, then the job file (its folder
// created when missing), then the Ethernet updater without arguments. Nothing is written and
// nothing started after a failed step.
UpdateRun runUpdate(const UpdateTarget& target, const UpdateServices& services);

// The device address the project itself sets (the four IP fields of its ParGen.xml, joined as
// "127.0.0.1"); empty when ParGen.xml is missing or unreadable or the fields are no address.
std::string projectIpAddress(const ProjectFiles& files);

// True when the run got past the reachability check, so the dialog's choices (address, option,
// read-back) count as used and are kept for the next showing.
bool keepsChoices(const UpdateRun& run);

// What the updater's exit code says about the update, worded for the user.
struct UpdaterVerdict {
    bool success = false;
    std::string text;
};

// Exit code 0 is success ("The updater reported success (exit code 0)", text 1424); any other
// code is a failure ("The updater reported a failure (exit code N)", text 1425).
UpdaterVerdict updaterVerdict(int exitCode, const UiTexts& texts);

} // namespace setforge

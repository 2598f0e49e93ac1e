#pragma once

#include <string>
#include <string_view>

#include "core/base/atomicfile.h"

namespace setforge {

// What the Ethernet updater is told to do.
struct EthernetJob {
    std::string ipAddress; // device address, the four fields joined by "."
    int updateOption = 0;  // 0 firmware + configuration, 1 firmware, 2 configuration
    bool readBack = true;
    std::string masterDir;  // folder of the firmware files
    std::string projectDir; // project whose bin folder holds the images
    char separator = '/';   // joins the folders and file names of the job's paths
};

// The job with the platform's path separator.
EthernetJob makeEthernetJob(std::string ipAddress, int updateOption, bool readBack, std::string masterDir,
                            std::string projectDir);

// The job file's text: root Ethernet_Update without declaration or indentation, both
// sections always present, each holding the operations the option selects.
std::string ethernetJobXml(const EthernetJob& job);

// Writes the job file (the text above) to `utf8Path` through the atomic-write helper.
Result<void> writeEthernetJob(const EthernetJob& job, std::string_view utf8Path);

} // namespace setforge

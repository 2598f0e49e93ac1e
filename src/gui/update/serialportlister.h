#pragma once

#include <string>
#include <vector>

namespace setforge {

// One port of the update dialog's list: the name shown and the device the serial updater opens.
struct SerialPortEntry {
    std::string name;   // "COM3"; elsewhere the port name, "ttyUSB0"
    std::string device; // "\\.\COM3"; elsewhere the system location, "/dev/ttyUSB0"
};

// Finds the serial ports present. The update dialog holds one; tests replace it.
class SerialPortLister {
public:
    virtual ~SerialPortLister() = default;
    // The ports present now, in the order of the list.
    virtual std::vector<SerialPortEntry> ports() = 0;
};

// The system's ports through QSerialPortInfo: on Windows the COM ports by increasing number,
// elsewhere every port by name. A port in use by another program is listed too.
class SystemSerialPortLister : public SerialPortLister {
public:
    std::vector<SerialPortEntry> ports() override;
};

} // namespace setforge

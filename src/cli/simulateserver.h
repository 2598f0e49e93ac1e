#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/sim/virtualconverter.h"

namespace setforge {

// Where and how `simulate` serves the virtual converter.
struct SimulateOptions {
    std::optional<std::string> tcpHost; // with tcpPort; no TCP when both --rtu is given and --tcp is not
    int tcpPort = 1502;
    std::optional<std::string> rtuDevice;
    int baud = 115200;
    char parity = 'N';
    int stopBits = 1;
    int unitId = 1;
    std::optional<double> durationS;
    bool quiet = false;
};

// The sockets and the serial line of `simulate`: one single-threaded poll() loop over the TCP
// listener, its clients and the RTU line, feeding requests to the core's Modbus handling. Lives
// in the CLI because it needs libmodbus and POSIX sockets, which the core does not take.
class SimulateServer {
public:
    SimulateServer(VirtualConverter& converter, SimulateOptions options,
                   std::function<void(const std::string&)> log);
    ~SimulateServer();
    SimulateServer(const SimulateServer&) = delete;
    SimulateServer& operator=(const SimulateServer&) = delete;

    // Opens the TCP listener and the serial line; false with the reason in `error` when one
    // cannot be opened.
    bool open(std::string& error);

    // Serves until `stop` becomes true or the duration ends. The converter's clock follows real
    // time from `clockStartUs` on (the end of a replayed trace, or now).
    void run(const std::atomic<bool>& stop, std::int64_t clockStartUs);

    // The TCP port actually listened on (the one asked for, or the system's pick for port 0).
    int boundPort() const { return m_boundPort; }

private:
    struct Impl;
    Impl* m_impl;
    int m_boundPort = 0;
};

// The clock of the machine: microseconds since the epoch.
std::int64_t wallClockUs();

} // namespace setforge

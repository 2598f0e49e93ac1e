#include <algorithm>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "cli/commands.h"
#include "cli/simulateserver.h"
#include "core/base/paths.h"
#include "core/base/textint.h"
#include "core/sim/canframe.h"
#include "core/sim/simconfig.h"
#include "core/sim/virtualconverter.h"

namespace setforge {

namespace {

std::atomic<bool> g_stop{false};

extern "C" void stopOnSignal(int)
{
    g_stop.store(true);
}

// SIGINT and SIGTERM only ask the loop to end while the simulation runs; the old handlers come
// back afterwards (tests run the command in-process).
class StopSignals {
public:
    StopSignals()
    {
        g_stop.store(false);
        m_oldInt = std::signal(SIGINT, stopOnSignal);
        m_oldTerm = std::signal(SIGTERM, stopOnSignal);
    }
    ~StopSignals()
    {
        std::signal(SIGINT, m_oldInt);
        std::signal(SIGTERM, m_oldTerm);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    void (*m_oldInt)(int) = nullptr;
    void (*m_oldTerm)(int) = nullptr;
};

void simulateUsage(std::ostream& out)
{
    out << "Usage: setforge-cli simulate PROJECT_DIR [--tcp HOST:PORT] [--rtu DEVICE [--baud N]\n"
           "                              [--parity none|even|odd] [--stop 1|2]] [--unit N]\n"
           "                              [--trace-in FILE] [--trace-out FILE] [--values FILE]\n"
           "                              [--duration SECONDS] [--quiet]\n"
           "\n"
           "Runs a virtual converter: serves the project's register map to a Modbus master, with\n"
           "simulated CANopen nodes, and writes every CAN frame into a candump log.\n"
           "  --tcp HOST:PORT     Modbus TCP address (default 127.0.0.1:1502; 0.0.0.0 listens on\n"
           "                      all interfaces)\n"
           "  --rtu DEVICE        also serve Modbus RTU on this serial device; without --tcp, RTU only\n"
           "  --baud, --parity, --stop\n"
           "                      the serial line's settings (default: the project's Modbus settings)\n"
           "  --unit N            the Modbus unit (default: the project's Modbus ID)\n"
           "  --trace-in FILE     replay this candump log first (RPDOs, emergencies, NMT)\n"
           "  --trace-out FILE    write the CAN frames and notes here when the simulation ends\n"
           "  --values FILE       starting object values, CSV node,index,sub_index,value\n"
           "  --duration SECONDS  end after this time (default: until SIGINT or SIGTERM)\n"
           "  --quiet             no log line per Modbus request and CAN frame on stderr\n"
           "\n"
           "Project files and images are only read.\n"
           "Exit status: 0 ended; 1 a project, trace or values file error; 2 a usage error;\n"
           "3 the TCP port or the serial device cannot be opened.\n";
}

std::optional<int> boundedNumber(const std::string& text, int low, int high)
{
    const std::int32_t v = textToInt(text, -1);
    if (v < low || v > high || text.empty())
        return std::nullopt;
    return static_cast<int>(v);
}

// Four decimal numbers 0..255 with dots, no leading zeros: "127.0.0.1", "0.0.0.0".
bool isIpv4Address(const std::string& text)
{
    int parts = 0;
    std::size_t i = 0;
    while (i <= text.size()) {
        std::size_t j = i;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9')
            ++j;
        const std::string part = text.substr(i, j - i);
        if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0') || std::stoi(part) > 255)
            return false;
        ++parts;
        if (j == text.size())
            break;
        if (text[j] != '.')
            return false;
        i = j + 1;
    }
    return parts == 4;
}

// True when writing `target` could touch the project: one of its files, or its bin or EDS folder.
bool insideProjectData(const std::string& projectDir, const std::string& target)
{
    std::error_code ec;
    const std::filesystem::path project = std::filesystem::weakly_canonical(pathFromUtf8(projectDir), ec);
    const std::filesystem::path file = std::filesystem::weakly_canonical(pathFromUtf8(target), ec);
    if (file.parent_path() == project) {
        const std::string name = pathToUtf8(file.filename());
        const std::string ext = name.size() >= 4 ? name.substr(name.size() - 4) : std::string();
        return ext == ".xml" || ext == ".XML";
    }
    for (const char* folder : {"bin", "EDS"}) {
        const std::filesystem::path guarded = project / folder;
        const auto mismatch = std::mismatch(guarded.begin(), guarded.end(), file.begin(), file.end());
        if (mismatch.first == guarded.end())
            return true;
    }
    return false;
}

} // namespace

int runSimulateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (wantsHelp(args)) {
        simulateUsage(out);
        return 0;
    }
    std::optional<std::string> projectDir;
    std::optional<std::string> tcp;
    std::optional<std::string> rtu;
    std::optional<std::string> baud, parity, stopBits, unit, traceIn, traceOut, values, duration;
    bool quiet = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto takeValue = [&](std::optional<std::string>& slot) {
            if (i + 1 >= args.size()) {
                err << "setforge-cli simulate: " << a << " needs a value\n";
                return false;
            }
            slot = args[++i];
            return true;
        };
        bool ok = true;
        if (a == "--tcp")
            ok = takeValue(tcp);
        else if (a == "--rtu")
            ok = takeValue(rtu);
        else if (a == "--baud")
            ok = takeValue(baud);
        else if (a == "--parity")
            ok = takeValue(parity);
        else if (a == "--stop")
            ok = takeValue(stopBits);
        else if (a == "--unit")
            ok = takeValue(unit);
        else if (a == "--trace-in")
            ok = takeValue(traceIn);
        else if (a == "--trace-out")
            ok = takeValue(traceOut);
        else if (a == "--values")
            ok = takeValue(values);
        else if (a == "--duration")
            ok = takeValue(duration);
        else if (a == "--quiet")
            quiet = true;
        else if (!a.empty() && a[0] == '-') {
            err << "setforge-cli simulate: unknown option '" << a << "'\n";
            ok = false;
        } else if (!projectDir)
            projectDir = a;
        else {
            err << "setforge-cli simulate: unexpected argument '" << a << "'\n";
            ok = false;
        }
        if (!ok) {
            simulateUsage(err);
            return 2;
        }
    }
    if (!projectDir) {
        simulateUsage(err);
        return 2;
    }

    SimulateOptions options;
    options.quiet = quiet;
    auto usage = [&](const std::string& text) {
        err << "setforge-cli simulate: " << text << "\n";
        return 2;
    };
    if (tcp || !rtu) {
        const std::string address = tcp.value_or("127.0.0.1:1502");
        const std::size_t colon = address.rfind(':');
        const auto port =
            colon == std::string::npos ? std::nullopt : boundedNumber(address.substr(colon + 1), 0, 65535);
        if (colon == std::string::npos || !port || !isIpv4Address(address.substr(0, colon)))
            return usage("--tcp wants HOST:PORT with an IPv4 address, such as 127.0.0.1:1502");
        options.tcpHost = address.substr(0, colon);
        options.tcpPort = *port;
    }
    std::optional<double> durationS;
    if (duration) {
        char* end = nullptr;
        const double d = std::strtod(duration->c_str(), &end);
        if (end == duration->c_str() || *end != '\0' || !(d >= 0) || d > 1e9)
            return usage("--duration wants a number of seconds");
        options.durationS = d;
    }
    if (traceOut && insideProjectData(*projectDir, *traceOut))
        return usage("--trace-out would write into the project's files; choose another place");

    Result<SimConfig> config = loadSimConfig(*projectDir);
    if (!config) {
        err << "setforge-cli simulate: " << config.error().describe() << "\n";
        return 1;
    }
    options.rtuDevice = rtu;
    options.baud = config->modbus.baud;
    options.parity = config->modbus.parity;
    options.stopBits = config->modbus.stopBits;
    options.unitId = config->modbus.unitId;
    if (baud) {
        const auto b = boundedNumber(*baud, 50, 4000000);
        if (!b)
            return usage("--baud wants a bit rate such as 19200");
        options.baud = *b;
    }
    if (parity) {
        if (*parity == "none" || *parity == "N")
            options.parity = 'N';
        else if (*parity == "even" || *parity == "E")
            options.parity = 'E';
        else if (*parity == "odd" || *parity == "O")
            options.parity = 'O';
        else
            return usage("--parity wants none, even or odd");
    }
    if (stopBits) {
        const auto s = boundedNumber(*stopBits, 1, 2);
        if (!s)
            return usage("--stop wants 1 or 2");
        options.stopBits = *s;
    }
    if (unit) {
        const auto u = boundedNumber(*unit, 1, 247);
        if (!u)
            return usage("--unit wants 1..247");
        options.unitId = *u;
    }

    std::map<int, bool> silent;
    if (values) {
        const Result<std::string> text = readWholeFile(*values);
        if (!text) {
            err << "setforge-cli simulate: " << text.error().text << "\n";
            return 1;
        }
        const Result<void> applied = applySimValues(*text, *values, *config, silent);
        if (!applied) {
            err << "setforge-cli simulate: " << applied.error().describe() << "\n";
            return 1;
        }
    }
    std::vector<CanFrame> replay;
    if (traceIn) {
        Result<std::vector<CanFrame>> frames = readCandumpFile(*traceIn);
        if (!frames) {
            err << "setforge-cli simulate: " << frames.error().describe() << "\n";
            return 1;
        }
        replay = std::move(frames.value());
    }

    VirtualConverter converter(std::move(config.value()));
    for (const auto& [node, isSilent] : silent)
        converter.setSilent(node, isSilent);
    auto log = [&err](const std::string& line) { err << line << "\n"; };
    if (!quiet)
        converter.setLog(log);

    const StopSignals signals; // from here on, before a long replay, a signal ends cleanly
    SimulateServer server(converter, options, log);
    std::string openError;
    if (!server.open(openError)) {
        err << "setforge-cli simulate: " << openError << "\n";
        return 3;
    }
    if (!quiet) {
        if (options.tcpHost)
            err << "listening on " << *options.tcpHost << ":" << server.boundPort() << " unit "
                << options.unitId << "\n";
        if (options.rtuDevice)
            err << "serving RTU on " << *options.rtuDevice << " " << options.baud << " " << options.parity
                << " " << options.stopBits << " unit " << options.unitId << "\n";
    }

    // A replay runs on the trace's time stamps; serving then goes on from its last one.
    std::int64_t clock = replay.empty() ? wallClockUs() : replay.front().timeUs;
    converter.start(clock);
    for (const CanFrame& frame : replay) {
        if (g_stop.load())
            break;
        converter.receiveFrame(frame);
    }
    clock = std::max(clock, converter.now());

    // The handlers only set the flag; poll() returns early on a signal, so the loop ends at once.
    server.run(g_stop, clock);

    if (traceOut) {
        const Result<void> written = converter.saveTrace(*traceOut);
        if (!written) {
            err << "setforge-cli simulate: " << written.error().text << "\n";
            return 1;
        }
    }
    if (!quiet)
        err << "simulation ended\n";
    (void)out;
    return 0;
}

} // namespace setforge

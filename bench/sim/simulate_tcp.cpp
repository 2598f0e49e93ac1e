// Requests per second for reads of 125 registers over loopback Modbus TCP: the virtual
// converter's server (the poll() loop of `setforge-cli simulate`) against libmodbus's own
// minimal server (modbus_receive + modbus_reply on a register mapping), measured in the same
// run by the same libmodbus client. Only 127.0.0.1.
#include <benchmark/benchmark.h>

#include <modbus.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <thread>

#include "cli/simulateserver.h"
#include "core/sim/virtualconverter.h"

namespace setforge {

namespace {

constexpr int kRegisters = 125;

// 125 SDO claims from register 0, two per 4-byte object of node 2, as a project would have.
SimConfig readConfig()
{
    SimConfig config;
    for (int r = 0; r < kRegisters; ++r) {
        SimClaim claim;
        claim.entry.reg = static_cast<std::uint16_t>(r);
        claim.entry.source = ClaimSource::Sdo;
        claim.entry.nodeId = 2;
        claim.entry.object = hex4(static_cast<unsigned>(0x2000 + r / 2)) + ":0";
        claim.entry.highByte = r % 2 ? 4 : 2;
        claim.entry.lowByte = r % 2 ? 3 : 1;
        claim.objectBytes = 4;
        config.claims.push_back(claim);
        config.nodes[2].addZeroObject(static_cast<std::uint16_t>(0x2000 + r / 2), 0, 4);
    }
    return config;
}

// The client half shared by both benchmarks: connects to `port` and reads 125 registers per iteration.
void readLoop(benchmark::State& state, int port)
{
    modbus_t* client = modbus_new_tcp("127.0.0.1", port);
    if (!client || modbus_connect(client) != 0) {
        state.SkipWithError("cannot connect to the server under test");
        if (client)
            modbus_free(client);
        return;
    }
    std::uint16_t values[kRegisters];
    for (auto _ : state) {
        if (modbus_read_registers(client, 0, kRegisters, values) != kRegisters) {
            state.SkipWithError(modbus_strerror(errno));
            break;
        }
        benchmark::DoNotOptimize(values[0]);
    }
    state.counters["requests/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    modbus_close(client);
    modbus_free(client);
}

void BM_Read125_VirtualConverter(benchmark::State& state)
{
    VirtualConverter converter(readConfig());
    SimulateOptions options;
    options.tcpHost = "127.0.0.1";
    options.tcpPort = 0;
    options.quiet = true;
    SimulateServer server(converter, options, nullptr);
    std::string error;
    if (!server.open(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    converter.start(wallClockUs());
    std::atomic<bool> stop{false};
    std::thread serving([&] { server.run(stop, wallClockUs()); });
    readLoop(state, server.boundPort());
    stop = true;
    serving.join();
}
BENCHMARK(BM_Read125_VirtualConverter)->UseRealTime()->MinTime(2.0);

void BM_Read125_LibmodbusServer(benchmark::State& state)
{
    modbus_t* server = modbus_new_tcp("127.0.0.1", 0);
    modbus_mapping_t* mapping = modbus_mapping_new(0, 0, kRegisters, 0);
    int listener = modbus_tcp_listen(server, 1);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if (listener < 0 || ::getsockname(listener, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
        state.SkipWithError("libmodbus server cannot listen");
        return;
    }
    std::thread serving([&] {
        modbus_tcp_accept(server, &listener);
        std::uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
        for (;;) {
            const int n = modbus_receive(server, query);
            if (n > 0)
                modbus_reply(server, query, n, mapping);
            else if (n < 0)
                break; // the client closed
        }
    });
    readLoop(state, ntohs(bound.sin_port));
    serving.join();
    modbus_close(server);
    modbus_mapping_free(mapping);
    modbus_free(server);
}
BENCHMARK(BM_Read125_LibmodbusServer)->UseRealTime()->MinTime(2.0);

} // namespace

} // namespace setforge

BENCHMARK_MAIN();

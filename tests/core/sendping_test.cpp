#include <gtest/gtest.h>

#include <vector>

#include "core/update/echoclient.h"
#include "core/update/sendping.h"

namespace setforge {

namespace {

// Answers from a script, one status per echo (the last one repeats), and lets a fake clock
// run on by the echo time-out for every echo, as a real echo would at worst.
class ScriptedEcho : public EchoClient {
public:
    ScriptedEcho(std::vector<EchoStatus> script, std::int64_t& clock)
        : m_script(std::move(script)), m_clock(clock)
    {
    }
    EchoStatus echo(const std::string& address, int timeoutMs, const std::function<void()>& idle) override
    {
        addresses.push_back(address);
        timeouts.push_back(timeoutMs);
        if (idle)
            idle();
        const EchoStatus status = m_script[std::min(calls, m_script.size() - 1)];
        ++calls;
        m_clock += status == EchoStatus::Reply ? 5 : timeoutMs;
        return status;
    }
    std::size_t calls = 0;
    std::vector<std::string> addresses;
    std::vector<int> timeouts;

private:
    std::vector<EchoStatus> m_script;
    std::int64_t& m_clock;
};

struct PingRun {
    PingResult result;
    std::size_t calls;
    std::int64_t elapsed;
    int idles;
};

PingRun runPing(std::vector<EchoStatus> script)
{
    std::int64_t clock = 1000;
    ScriptedEcho echo(std::move(script), clock);
    int idles = 0;
    const PingResult result = sendPing(
        "127.0.0.1", echo, [&clock] { return clock; }, [&idles] { ++idles; });
    for (const std::string& address : echo.addresses)
        EXPECT_EQ(address, "127.0.0.1");
    for (int timeout : echo.timeouts)
        EXPECT_EQ(timeout, 400);
    return {result, echo.calls, clock - 1000, idles};
}

} // namespace

TEST(SendPing, AnsweringDeviceIsReachedAfterTwoReplies)
{
    const PingRun run = runPing({EchoStatus::Reply});
    EXPECT_TRUE(run.result.ok);
    EXPECT_EQ(run.result.pingResult, 1);
    EXPECT_EQ(run.calls, 2u);
    EXPECT_EQ(pingFailureText(run.result), 0);
    EXPECT_GT(run.idles, 0); // the window gets its turn during the echoes
}

TEST(SendPing, SilentDeviceFailsAfterAboutFiveSeconds)
{
    const PingRun run = runPing({EchoStatus::NoReply});
    EXPECT_FALSE(run.result.ok);
    EXPECT_EQ(run.result.pingResult, 2);
    // Echoes go on while no more than 5000 ms have passed: 13 echoes of 400 ms.
    EXPECT_EQ(run.calls, 13u);
    EXPECT_EQ(run.elapsed, 5200);
    EXPECT_EQ(pingFailureText(run.result), 1536);
}

TEST(SendPing, TheLastEchoDecides)
{
    const PingRun firstOnly = runPing({EchoStatus::Reply, EchoStatus::NoReply});
    EXPECT_FALSE(firstOnly.result.ok);
    EXPECT_EQ(pingFailureText(firstOnly.result), 1536);
    EXPECT_EQ(firstOnly.calls, 14u); // one answer, then silence until 5000 ms have passed

    // A late second answer after silences is still a success.
    const PingRun late =
        runPing({EchoStatus::Reply, EchoStatus::NoReply, EchoStatus::NoReply, EchoStatus::Reply});
    EXPECT_TRUE(late.result.ok);
    EXPECT_EQ(late.calls, 4u);

    // Ending on an answer after only one of them counts too.
    const PingRun endsAnswered =
        runPing({EchoStatus::NoReply, EchoStatus::NoReply, EchoStatus::NoReply, EchoStatus::NoReply,
                 EchoStatus::NoReply, EchoStatus::NoReply, EchoStatus::NoReply, EchoStatus::NoReply,
                 EchoStatus::NoReply, EchoStatus::NoReply, EchoStatus::NoReply, EchoStatus::NoReply,
                 EchoStatus::NoReply, EchoStatus::Reply});
    EXPECT_FALSE(endsAnswered.result.ok); // the thirteenth echo already ended the check
    EXPECT_EQ(endsAnswered.calls, 13u);
}

TEST(SendPing, UnusableAddressGives1537)
{
    const PingRun run = runPing({EchoStatus::Error});
    EXPECT_FALSE(run.result.ok);
    EXPECT_EQ(run.result.pingResult, 0);
    EXPECT_EQ(run.calls, 1u);
    EXPECT_EQ(pingFailureText(run.result), 1537);
}

TEST(SendPing, SendErrorAfterSilenceKeepsTheLastStatus)
{
    const PingRun run = runPing({EchoStatus::NoReply, EchoStatus::Error});
    EXPECT_FALSE(run.result.ok);
    EXPECT_EQ(run.result.pingResult, 2);
    EXPECT_EQ(pingFailureText(run.result), 1536);
}

TEST(SendPing, SendErrorEndsTheCheckAsFailedWithTheLastStatus)
{
    struct Case {
        std::vector<EchoStatus> script;
        int pingResult;
        int text;
    };
    const Case cases[] = {
        {{EchoStatus::Error}, 0, 1537},
        {{EchoStatus::NoReply, EchoStatus::Error}, 2, 1536},
        // An answered echo followed by one that cannot be sent: the check still fails.
        {{EchoStatus::Reply, EchoStatus::Error}, 1, 1537},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        const PingRun run = runPing(c.script);
        EXPECT_FALSE(run.result.ok);
        EXPECT_EQ(run.result.pingResult, c.pingResult);
        EXPECT_EQ(run.calls, c.script.size());
        EXPECT_EQ(pingFailureText(run.result), c.text);
    }
}

TEST(IcmpEcho, LoopbackAnswersAndBadAddressesAreErrors)
{
    IcmpSocketEchoClient client;
    EXPECT_EQ(client.echo("not an address", 400, {}), EchoStatus::Error);
    EXPECT_EQ(client.echo("127.0.0", 400, {}), EchoStatus::Error);
    if (!IcmpSocketEchoClient::usable())
        GTEST_SKIP() << "no ICMP socket may be opened here";
    int idles = 0;
    EXPECT_EQ(client.echo("127.0.0.1", 400, [&idles] { ++idles; }), EchoStatus::Reply);
    const PingResult result = sendPing("127.0.0.1", client, {});
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.echoes, 2);
}

TEST(IcmpEcho, SystemClientReachesLoopback)
{
    const std::unique_ptr<EchoClient> client = makeSystemEchoClient();
    const PingResult result = sendPing("127.0.0.1", *client, {});
    if (!result.ok && result.pingResult == 0 && !IcmpSocketEchoClient::usable())
        GTEST_SKIP() << "neither an ICMP socket nor the ping program works here";
    EXPECT_TRUE(result.ok);
}

TEST(IcmpEcho, PingProgramFallbackReadsTheExitCode)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows always has the ICMP API; the ping program is a fallback elsewhere";
#else
    PingProgramEchoClient client(std::string(SETFORGE_TOOLS_DIR) + "/fake_ping");
    int idles = 0;
    EXPECT_EQ(client.echo("127.0.0.1", 400, [&idles] { ++idles; }), EchoStatus::Reply);
    EXPECT_EQ(client.echo("127.0.0.2", 400, {}), EchoStatus::NoReply);
    EXPECT_EQ(client.echo("127.0.0.3", 400, {}), EchoStatus::Error);
    EXPECT_EQ(client.echo("127.0.0", 400, {}), EchoStatus::Error); // never handed to the program
    PingProgramEchoClient missing("/nonexistent/ping");
    EXPECT_EQ(missing.echo("127.0.0.1", 400, {}), EchoStatus::Error);
#endif
}

} // namespace setforge

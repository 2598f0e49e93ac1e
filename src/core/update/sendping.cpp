#include "core/update/sendping.h"

#include <chrono>

#include "core/lang/textid.h"

namespace setforge {

int pingFailureText(const PingResult& result)
{
    if (result.ok)
        return 0;
    return result.pingResult == EchoUnanswered ? TextId::DeviceNotFound : TextId::CheckIpAddress;
}

PingResult sendPing(const std::string& address, EchoClient& client,
                    const std::function<std::int64_t()>& nowMs, const std::function<void()>& idle)
{
    PingResult result;
    const std::int64_t start = nowMs();
    int answered = 0;
    // The reply status is not reset between echoes: an echo that fails to send keeps the last one.
    for (;;) {
        const EchoStatus status = client.echo(address, kEchoTimeoutMs, idle);
        if (status == EchoStatus::Error)
            return result; // failed, whatever an earlier echo answered
        ++result.echoes;
        result.pingResult = status == EchoStatus::Reply ? EchoAnswered : EchoUnanswered;
        if (result.pingResult == EchoAnswered && ++answered == 2)
            break;
        if (nowMs() - start > kPingTotalMs)
            break;
    }
    result.ok = result.pingResult == EchoAnswered;
    return result;
}

PingResult sendPing(const std::string& address, EchoClient& client, const std::function<void()>& idle)
{
    const auto steadyMs = [] {
        return static_cast<std::int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::steady_clock::now().time_since_epoch())
                                             .count());
    };
    return sendPing(address, client, steadyMs, idle);
}

} // namespace setforge

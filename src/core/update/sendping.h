#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/update/echoclient.h"

namespace setforge {

// Time-outs of the reachability check, in milliseconds.
inline constexpr int kEchoTimeoutMs = 400;
inline constexpr int kPingTotalMs = 5000;

// What the last echo of a reachability check gave. The values are the ones the update dialog
// has always reported, so they stay plain integers underneath.
enum EchoResult : int {
    EchoNoneReceived = 0, // no reply status was ever received
    EchoAnswered = 1,     // the last echo was answered
    EchoUnanswered = 2,   // the last echo had no reply
};

// Outcome of the reachability check.
struct PingResult {
    bool ok = false;
    EchoResult pingResult = EchoNoneReceived;
    int echoes = 0; // echoes sent
};

// UI text shown for a failed check: 1536 "Device Not Found!" when the last echo went
// unanswered, 1537 "Error!!! Check the Ip Address" when no echo could be sent; 0 on success.
int pingFailureText(const PingResult& result);

// The reachability check: echoes of kEchoTimeoutMs to `address` until two have been
// answered or more than kPingTotalMs have passed since the start; the last echo decides.
// An echo that cannot be sent ends the check at once as failed, `pingResult` as it was.
// `nowMs` is a millisecond clock, `idle` runs between the short waits of an echo.
PingResult sendPing(const std::string& address, EchoClient& client,
                    const std::function<std::int64_t()>& nowMs, const std::function<void()>& idle);

// The same with the steady clock.
PingResult sendPing(const std::string& address, EchoClient& client, const std::function<void()>& idle);

} // namespace setforge

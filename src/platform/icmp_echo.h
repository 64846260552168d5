#pragma once
// One ICMP echo to a host: its round-trip time, for choosing the fastest server. Three ways to send
// it, each used when the one before cannot be: an ICMP datagram socket (allowed to the groups in
// net.ipv4.ping_group_range), a raw socket (root or CAP_NET_RAW), and the system's ping program,
// which carries the raw-socket capability itself, so that an ordinary user gets real times too.

#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace tkv {

enum class EchoMethod { datagram_socket, raw_socket, ping_program };

struct EchoSettings {
    int timeout_ms = 4000;
    int data_bytes = 56;
    int ttl = 64;
    std::optional<EchoMethod> only; // just this method; none: the first one the system allows
};

struct EchoResult {
    int round_trip_ms = -1;           // -1: unknown host, no answer in time, or stopped
    std::optional<EchoMethod> method; // the one that sent the echo; none: the host was not found,
                                      // or no method was allowed
};

// Looks the host (a name or an IPv4 address, without a port) up and sends it one echo. Blocks up
// to the timeout; a stop request ends the lookup or the wait at once with -1. Call it off the user
// interface thread.
EchoResult icmp_echo(const std::string& host, std::stop_token stop = {}, const EchoSettings& settings = {});

// The time of the reply line in the ping program's output ("... time=0.234 ms" or "time<1 ms"),
// rounded to whole milliseconds; none when no reply came.
std::optional<int> ping_output_time_ms(std::string_view output);

} // namespace tkv

// ICMP echo to 127.0.0.1 through each method the machine allows, and an unknown host.

#include "platform/icmp_echo.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace tkv {

static const char* name(EchoMethod method) {
    switch (method) {
    case EchoMethod::datagram_socket:
        return "datagram socket";
    case EchoMethod::raw_socket:
        return "raw socket";
    case EchoMethod::ping_program:
        return "ping program";
    }
    return "?";
}

// Test names and messages say which method they are about.
static void PrintTo(EchoMethod method, std::ostream* out) {
    *out << name(method);
}

namespace {

// Why the machine refuses a method, asked of the system itself rather than of the code under test;
// empty when it allows it.
std::string refusal(EchoMethod method) {
    if (method == EchoMethod::ping_program) {
        std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
        for (std::string folder; std::getline(path, folder, ':');)
            if (::access((folder + "/ping").c_str(), X_OK) == 0) return "";
        return "no ping program on PATH";
    }
    const int type = method == EchoMethod::raw_socket ? SOCK_RAW : SOCK_DGRAM;
    const int fd = ::socket(AF_INET, type, IPPROTO_ICMP);
    if (fd >= 0) {
        ::close(fd);
        return "";
    }
    return std::string(type == SOCK_RAW ? "raw" : "datagram") +
           " ICMP sockets are refused here: " + std::strerror(errno);
}

TEST(IcmpEcho, LoopbackAnswersThroughTheFirstAllowedMethod) {
    const EchoResult r = icmp_echo("127.0.0.1");
    ASSERT_TRUE(r.method.has_value()) << "no method could send an echo";
    EXPECT_GE(r.round_trip_ms, 0) << name(*r.method);
    for (const EchoMethod earlier : {EchoMethod::datagram_socket, EchoMethod::raw_socket}) {
        if (earlier == *r.method) break;
        EXPECT_FALSE(refusal(earlier).empty()) << name(earlier) << " is allowed but was passed over";
    }
}

class EachMethod : public testing::TestWithParam<EchoMethod> {};

TEST_P(EachMethod, LoopbackAnswers) {
    if (const std::string why = refusal(GetParam()); !why.empty()) GTEST_SKIP() << why;
    EchoSettings settings;
    settings.only = GetParam();
    const EchoResult r = icmp_echo("127.0.0.1", {}, settings);
    EXPECT_EQ(r.method, GetParam());
    EXPECT_GE(r.round_trip_ms, 0);
}

TEST_P(EachMethod, StoppedBeforehandSendsNothingAndGivesNoTime) {
    if (const std::string why = refusal(GetParam()); !why.empty()) GTEST_SKIP() << why;
    std::stop_source stop;
    stop.request_stop();
    EchoSettings settings;
    settings.only = GetParam();
    EXPECT_EQ(icmp_echo("127.0.0.1", stop.get_token(), settings).round_trip_ms, -1);
}

INSTANTIATE_TEST_SUITE_P(IcmpEcho, EachMethod,
                         testing::Values(EchoMethod::datagram_socket, EchoMethod::raw_socket,
                                         EchoMethod::ping_program),
                         [](const testing::TestParamInfo<EchoMethod>& info) {
                             std::string n = name(info.param);
                             std::replace(n.begin(), n.end(), ' ', '_');
                             return n;
                         });

TEST(IcmpEcho, UnknownHostsGiveNoTime) {
    for (const char* host : {"x.invalid", ""}) {
        const EchoResult r = icmp_echo(host);
        EXPECT_EQ(r.round_trip_ms, -1) << host;
        EXPECT_FALSE(r.method.has_value()) << host << ": nothing is sent to a host that was not found";
    }
}

TEST(IcmpEcho, PingOutputTimes) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"PING 127.0.0.1 (127.0.0.1) 56(84) bytes of data.\n"
         "64 bytes from 127.0.0.1: icmp_seq=1 ttl=64 time=0.234 ms\n\n"
         "1 packets transmitted, 1 received, 0% packet loss, time 0ms\n",
         0},
        {"64 bytes from 10.0.0.1: seq=0 ttl=57 time=12.6 ms\n", 13},
        {"64 bytes from 10.0.0.1: icmp_seq=1 ttl=57 time=250 ms\n", 250},
        {"64 bytes from 10.0.0.1: icmp_seq=1 ttl=128 time<1 ms\n", 0},
        {"PING 10.0.0.1 (10.0.0.1) 56(84) bytes of data.\n\n"
         "1 packets transmitted, 0 received, 100% packet loss, time 0ms\n",
         std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [output, ms] : cases)
        EXPECT_EQ(ping_output_time_ms(output), ms) << output;
}

} // namespace
} // namespace tkv

#include "platform/icmp_echo.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

extern char** environ;

namespace tkv {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int wait_slice_ms = 50; // how often a wait looks at the stop request

int whole_ms(Clock::duration d) {
    return static_cast<int>((std::chrono::duration_cast<std::chrono::microseconds>(d).count() + 500) / 1000);
}

int ms_left(Clock::time_point deadline) {
    return std::max(
        0, static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count()));
}

std::optional<in_addr> resolve_ipv4(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
    const in_addr address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return address;
}

// The system's lookup cannot be interrupted, so it runs on a thread of its own that finishes by
// itself; a stop request leaves it behind at once.
std::optional<in_addr> lookup_ipv4(const std::string& host, std::stop_token stop) {
    if (host.empty()) return std::nullopt;
    if (in_addr numeric{}; ::inet_pton(AF_INET, host.c_str(), &numeric) == 1) return numeric;
    struct Pending {
        std::mutex mutex;
        std::condition_variable_any done_changed;
        bool done = false;
        std::optional<in_addr> address;
    };
    auto pending = std::make_shared<Pending>();
    std::thread([pending, host] {
        const std::optional<in_addr> address = resolve_ipv4(host);
        const std::lock_guard lock(pending->mutex);
        pending->address = address;
        pending->done = true;
        pending->done_changed.notify_all();
    }).detach();
    std::unique_lock lock(pending->mutex);
    if (!pending->done_changed.wait(lock, stop, [&] { return pending->done; })) return std::nullopt;
    return pending->address;
}

std::uint16_t internet_checksum(const std::vector<unsigned char>& bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2)
        sum += static_cast<std::uint32_t>(bytes[i] << 8) | (i + 1 < bytes.size() ? bytes[i + 1] : 0u);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

void put16(std::vector<unsigned char>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<unsigned char>(value >> 8);
    bytes[at + 1] = static_cast<unsigned char>(value & 0xFF);
}

// An echo request with a random payload, so that a reply to anybody else's echo is never taken
// for ours (a raw socket sees every ICMP message of the machine).
std::vector<unsigned char> echo_request(std::uint16_t ident, std::uint16_t sequence, int data_bytes) {
    std::vector<unsigned char> packet(8 + static_cast<std::size_t>(std::max(0, data_bytes)));
    packet[0] = ICMP_ECHO;
    put16(packet, 4, ident);
    put16(packet, 6, sequence);
    std::random_device random;
    std::generate(packet.begin() + 8, packet.end(), [&] { return static_cast<unsigned char>(random()); });
    put16(packet, 2, internet_checksum(packet));
    return packet;
}

// A datagram socket's replies carry the identifier the system chose, so only a raw socket checks it.
bool answers(std::string_view reply, const std::vector<unsigned char>& request, bool check_ident) {
    if (reply.size() != request.size() || static_cast<unsigned char>(reply[0]) != ICMP_ECHOREPLY)
        return false;
    const auto same = [&](std::size_t from, std::size_t to) {
        return std::equal(request.begin() + static_cast<std::ptrdiff_t>(from),
                          request.begin() + static_cast<std::ptrdiff_t>(to),
                          reply.begin() + static_cast<std::ptrdiff_t>(from),
                          [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); });
    };
    return (!check_ident || same(4, 6)) && same(6, request.size());
}

int socket_echo(int fd, bool raw, in_addr to, const EchoSettings& settings, std::stop_token stop) {
    static std::atomic<std::uint16_t> next_sequence{1};
    const int ttl = settings.ttl;
    ::setsockopt(fd, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);
    const auto request =
        echo_request(static_cast<std::uint16_t>(::getpid()), next_sequence++, settings.data_bytes);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr = to;
    if (stop.stop_requested()) return -1;
    const Clock::time_point sent = Clock::now();
    if (::sendto(fd, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&target),
                 sizeof target) != static_cast<ssize_t>(request.size()))
        return -1;
    const Clock::time_point deadline = sent + std::chrono::milliseconds(settings.timeout_ms);
    std::vector<char> buffer(65536);
    while (!stop.stop_requested()) {
        const int left = ms_left(deadline);
        if (left == 0) return -1;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, std::min(left, wait_slice_ms)) <= 0) continue;
        sockaddr_in from{};
        socklen_t from_size = sizeof from;
        const ssize_t got = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                       reinterpret_cast<sockaddr*>(&from), &from_size);
        if (got <= 0 || from.sin_addr.s_addr != to.s_addr) continue;
        std::string_view reply(buffer.data(), static_cast<std::size_t>(got));
        if (raw) { // a raw socket hands over the IP header too
            const std::size_t header = (static_cast<unsigned char>(reply[0]) & 0x0F) * 4u;
            if (reply.size() < header) continue;
            reply.remove_prefix(header);
        }
        if (answers(reply, request, raw)) return whole_ms(Clock::now() - sent);
    }
    return -1;
}

std::optional<int> echo_through_socket(int type, in_addr to, const EchoSettings& settings,
                                       std::stop_token stop) {
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) return std::nullopt;
    const int ms = socket_echo(fd, type == SOCK_RAW, to, settings, stop);
    ::close(fd);
    return ms;
}

// The program's messages in the C locale, so that the time is written with a decimal point.
std::vector<std::string> ping_environment() {
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e) {
        const std::string_view entry(*e);
        if (!entry.starts_with("LC_") && !entry.starts_with("LANG=") && !entry.starts_with("LANGUAGE="))
            env.emplace_back(entry);
    }
    env.emplace_back("LC_ALL=C");
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> p;
    for (std::string& t : texts)
        p.push_back(t.data());
    p.push_back(nullptr);
    return p;
}

// Runs "ping -n -c 1 -W seconds address" with the looked-up address, never the name itself, so a
// host text can neither become an option of ping nor be looked up a second time.
std::optional<int> echo_through_ping_program(in_addr to, const EchoSettings& settings, std::stop_token stop) {
    char address[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &to, address, sizeof address);
    std::vector<std::string> args{
        "ping", "-n", "-c", "1", "-W", std::to_string(std::max(1, (settings.timeout_ms + 999) / 1000)),
        address};
    std::vector<std::string> env = ping_environment();
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned =
        ::posix_spawnp(&pid, "ping", &actions, nullptr, pointers(args).data(), pointers(env).data());
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return std::nullopt;
    }
    // Beyond ping's own timeout, a little time for the program to start.
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(settings.timeout_ms + 2000);
    std::string output;
    bool finished = false;
    while (!finished && !stop.stop_requested() && ms_left(deadline) > 0) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, std::min(ms_left(deadline), wait_slice_ms)) <= 0) continue;
        char piece[4096];
        const ssize_t got = ::read(out[0], piece, sizeof piece);
        if (got < 0 && errno == EINTR) continue;
        if (got > 0 && output.size() < 65536) output.append(piece, static_cast<std::size_t>(got));
        finished = got <= 0;
    }
    if (!finished) ::kill(pid, SIGKILL);
    ::close(out[0]);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    if (!finished) return -1;
    return ping_output_time_ms(output).value_or(-1);
}

std::optional<int> echo_by(EchoMethod method, in_addr to, const EchoSettings& settings,
                           std::stop_token stop) {
    switch (method) {
    case EchoMethod::datagram_socket:
        return echo_through_socket(SOCK_DGRAM, to, settings, stop);
    case EchoMethod::raw_socket:
        return echo_through_socket(SOCK_RAW, to, settings, stop);
    case EchoMethod::ping_program:
        return echo_through_ping_program(to, settings, stop);
    }
    return std::nullopt;
}

} // namespace

EchoResult icmp_echo(const std::string& host, std::stop_token stop, const EchoSettings& settings) {
    EchoResult result;
    const std::optional<in_addr> address = lookup_ipv4(host, stop);
    if (!address) return result;
    for (const EchoMethod method :
         {EchoMethod::datagram_socket, EchoMethod::raw_socket, EchoMethod::ping_program}) {
        if (settings.only && *settings.only != method) continue;
        if (const std::optional<int> ms = echo_by(method, *address, settings, stop)) {
            result.round_trip_ms = *ms;
            result.method = method;
            return result;
        }
    }
    return result;
}

std::optional<int> ping_output_time_ms(std::string_view output) {
    for (const std::string_view mark : {" time=", " time<"}) {
        const std::size_t at = output.find(mark);
        if (at == std::string_view::npos) continue;
        const std::string_view number = output.substr(at + mark.size());
        double ms = 0;
        if (std::from_chars(number.data(), number.data() + number.size(), ms).ec != std::errc{}) continue;
        // "time<1 ms": under a millisecond.
        return mark == " time<" ? 0 : static_cast<int>(std::max(0L, std::lround(ms)));
    }
    return std::nullopt;
}

} // namespace tkv

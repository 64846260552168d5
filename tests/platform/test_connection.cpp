#include "platform/connection.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tkv {
namespace {

std::string command_output(const char* command) {
    std::string out;
    if (FILE* pipe = ::popen(command, "r")) {
        char buffer[512];
        while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, got);
        if (::pclose(pipe) != 0) return "(failed)";
    }
    return out;
}

TEST(Connection, AgreesWithTheSystemsOwnList) {
    const std::string global = command_output("ip -o addr show up scope global 2>/dev/null");
    if (global == "(failed)") GTEST_SKIP() << "the ip tool is not available";
    EXPECT_EQ(internet_connection_present(), !global.empty()) << global;
}

bool write_proc(const char* file, const std::string& text) {
    const int fd = ::open(file, O_WRONLY);
    const bool ok = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (fd >= 0) ::close(fd);
    return ok;
}

enum Outcome { absent = 0, present = 1, setup_failed = 2, no_namespace = 3 };

// Builds the given network in a private network namespace and asks there.
Outcome in_private_network(const std::string& setup) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    const pid_t child = ::fork();
    if (child == 0) {
        // Map ourselves to root inside so that the ip tool keeps its rights after exec.
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0 || !write_proc("/proc/self/setgroups", "deny") ||
            !write_proc("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !write_proc("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            ::_exit(no_namespace);
        if (!setup.empty() && std::system(("set -e; exec >/dev/null 2>&1; " + setup).c_str()) != 0)
            ::_exit(setup_failed);
        ::_exit(internet_connection_present() ? present : absent);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? static_cast<Outcome>(WEXITSTATUS(status)) : setup_failed;
}

TEST(Connection, NeedsAnInterfaceThatIsUpWithARealAddress) {
    const std::string veth = "ip link add v0 type veth peer name v1; ip link set v1 up; ";
    const struct {
        const char* what;
        std::string setup;
        Outcome expected;
    } cases[] = {
        {"nothing but a loopback that is down", "", absent},
        {"loopback up", "ip link set lo up", absent},
        {"IPv4 address", veth + "ip addr add 10.1.2.3/24 dev v0; ip link set v0 up", present},
        {"IPv6 address", veth + "ip -6 addr add fd00::5/64 dev v0 nodad; ip link set v0 up", present},
        {"link-local addresses only",
         veth +
             "ip addr add 169.254.7.7/16 dev v0; ip -6 addr add fe80::7/64 dev v0 nodad; ip link set v0 up",
         absent},
        {"address on an interface that is down", veth + "ip addr add 10.1.2.3/24 dev v0", absent},
    };
    for (const auto& c : cases) {
        const Outcome got = in_private_network(c.setup);
        if (got == no_namespace) GTEST_SKIP() << "private network namespaces are not allowed here";
        if (got == setup_failed) GTEST_SKIP() << "cannot build the network for: " << c.what;
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

} // namespace
} // namespace tkv

#include "platform/connection.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace tkv {

namespace {

bool routable(const sockaddr* address) {
    if (address->sa_family == AF_INET) {
        const auto ip = ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
        const bool loopback = (ip >> 24) == 127;
        const bool link_local = (ip >> 16) == 0xA9FE; // 169.254/16
        return !loopback && !link_local;
    }
    if (address->sa_family == AF_INET6) {
        const in6_addr& ip = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
        return !IN6_IS_ADDR_LOOPBACK(&ip) && !IN6_IS_ADDR_LINKLOCAL(&ip) && !IN6_IS_ADDR_UNSPECIFIED(&ip);
    }
    return false;
}

} // namespace

bool internet_connection_present() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return false;
    bool found = false;
    for (const ifaddrs* i = list; i && !found; i = i->ifa_next)
        found =
            i->ifa_addr && (i->ifa_flags & IFF_UP) && !(i->ifa_flags & IFF_LOOPBACK) && routable(i->ifa_addr);
    ::freeifaddrs(list);
    return found;
}

} // namespace tkv

// The machine's IPv4 address: that of the first working adapter other than loopback.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>

#include <cstdio>
#include <vector>

#include "win32/services.h"

namespace vorlane::win32 {
namespace {

Text dotted(const sockaddr_in& address) {
    const auto* b = reinterpret_cast<const unsigned char*>(&address.sin_addr);
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    return text;
}

bool isLoopback(const sockaddr_in& address) {
    return reinterpret_cast<const unsigned char*>(&address.sin_addr)[0] == 127;
}

bool isLinkLocal(const sockaddr_in& address) {
    const auto* b = reinterpret_cast<const unsigned char*>(&address.sin_addr);
    return b[0] == 169 && b[1] == 254;
}

}  // namespace

Text localIpAddress() {
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    std::vector<unsigned char> buffer(16 * 1024);
    ULONG size = static_cast<ULONG>(buffer.size());
    ULONG result = ERROR_BUFFER_OVERFLOW;
    // The list can grow between the two calls; a few tries are enough.
    for (int attempt = 0; attempt < 3 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.resize(size);
        result = GetAdaptersAddresses(AF_INET, flags, nullptr,
                                      reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    }
    Text linkLocal;
    if (result == NO_ERROR) {
        for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter; adapter = adapter->Next) {
            if (adapter->OperStatus != IfOperStatusUp || adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;
            for (auto* unicast = adapter->FirstUnicastAddress; unicast; unicast = unicast->Next) {
                const sockaddr* address = unicast->Address.lpSockaddr;
                if (!address || address->sa_family != AF_INET) continue;
                const auto& v4 = *reinterpret_cast<const sockaddr_in*>(address);
                if (isLoopback(v4)) continue;
                if (!isLinkLocal(v4)) return dotted(v4);
                if (linkLocal.empty()) linkLocal = dotted(v4);
            }
        }
    }
    return linkLocal.empty() ? Text("127.0.0.1") : linkLocal;
}

}  // namespace vorlane::win32

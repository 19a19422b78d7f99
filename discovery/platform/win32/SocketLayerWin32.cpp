#include "../SocketLayer.h"

#include <winsock2.h>

namespace vanmoor::platform {

SocketLayer::SocketLayer() {
    WSADATA data{};
    // WSAStartup returns its error itself; WSAGetLastError cannot be called before it succeeded.
    m_StartError = WSAStartup(MAKEWORD(2, 2), &data);
}

SocketLayer::~SocketLayer() {
    if (m_StartError == 0) {
        WSACleanup();
    }
}

} // namespace vanmoor::platform

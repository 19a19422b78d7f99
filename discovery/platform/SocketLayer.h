#pragma once

namespace vanmoor::platform {

// The system's socket layer, started for as long as the object lives. Windows Sockets need a
// start-up before the first socket and a clean-up after the last; other systems need neither.
class SocketLayer {
public:
    SocketLayer();
    ~SocketLayer();
    SocketLayer(const SocketLayer&) = delete;
    SocketLayer& operator=(const SocketLayer&) = delete;

    // 0, or the system's error code when the start-up failed.
    int StartError() const { return m_StartError; }

private:
    int m_StartError = 0;
};

} // namespace vanmoor::platform

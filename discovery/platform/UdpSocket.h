#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace vanmoor::platform {

// A UDP socket that sends broadcasts through one local interface and receives what arrives on
// that interface only: unicast to the interface's address as well as broadcasts. Every socket
// call of the library is made here. Operations return 0 or the system error code.
class UdpSocket {
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    int Open();
    int EnableAddressReuse();
    // Linux: binds the wildcard address on `port`, restricted to the interface that owns
    // `localIP`; sends then leave through that interface with `localIP` as their source, and every
    // datagram received tells the address it was sent to. EADDRNOTAVAIL when no interface owns
    // the address. Windows: binds `localIP` and `port`, which receives the interface's broadcasts
    // too; the destination of a datagram is told where the system offers WSARecvMsg.
    int BindToLocalAddress(const std::string& localIP, int port);
    int EnableBroadcast();
    int SendBroadcast(const char* data, int length, int port);

    // Multicast and plain unicast, for discovery protocols beside the library's own. Addresses
    // are dotted IPv4 text; a text that is not one fails with the system's invalid-argument code.
    //
    // Binds exactly `localIP` and `port` (0: a port the system picks): unicast to that address
    // and port arrives here, and sends leave with `localIP` as their source.
    int BindAddress(const std::string& localIP, int port);
    // Binds for the datagrams sent to `group` on `port`, on as many sockets as there are
    // interfaces (address reuse first). Linux binds the group address itself, so no unicast to
    // the port arrives; Windows binds `localIP`, the only way it delivers a group there.
    int BindGroupPort(const std::string& group, const std::string& localIP, int port);
    // Multicast sends leave through the interface that owns `localIP`.
    int SetMulticastInterface(const std::string& localIP);
    int SetMulticastTtl(int hops);
    // Whether this host's own sockets receive what this socket sends to a group.
    int SetMulticastLoop(bool enabled);
    // IP_ADD_MEMBERSHIP of `group` on the interface that owns `localIP`, and no other.
    int JoinGroup(const std::string& group, const std::string& localIP);
    // Linux hands a group's datagrams to every socket bound to their port once any socket of
    // the host joined the group on the interface they arrive on; this socket then takes only
    // those of its own memberships. Windows does that already: nothing to set there.
    int ReceiveOnlyJoinedGroups();
    int SendTo(const char* data, int length, const std::string& address, int port);
    // The local port the socket is bound to; 0 when unbound or unknown.
    int LocalPort() const;

    enum class Wait { Readable, TimedOut, Woken, Failed };
    // Waits until a datagram is queued, the time-out passes or Wake() was called.
    Wait WaitReadable(int timeoutMilliseconds);
    // Makes the current and every later WaitReadable return Woken at once.
    void Wake();

    struct Received {
        enum class Status {
            Datagram,      // `length` bytes are in the buffer
            NothingQueued, // nothing to take now
            TooLong,       // the datagram was longer than the buffer and is dropped
            Failed,
        };
        Status status;
        int length;                // bytes received, valid for a datagram
        int error;                 // the system's error code unless a datagram was taken
        std::uint32_t destination; // the address the datagram was sent to, network byte order;
                                   // 0 when the system did not tell
        std::uint32_t source = 0;  // the sender's address, network byte order
    };
    // Takes one queued datagram without waiting.
    Received Receive(char* buffer, int capacity);

    // The socket's number, for log lines.
    int Handle() const { return static_cast<int>(m_Handle); }
    void Close();

private:
#ifdef _WIN32
    std::uintptr_t m_Handle = ~std::uintptr_t{0}; // SOCKET; INVALID_SOCKET while closed
    // One event, signalled by the socket's FD_READ and by Wake(); m_Woken tells them apart.
    void* m_Event = nullptr;
    std::atomic<bool> m_Woken{false};
    void* m_ReceiveMessage = nullptr; // LPFN_WSARECVMSG; null: recvfrom, destination unknown
#else
    int m_Handle = -1;
    int m_WakeHandle = -1;
    unsigned m_InterfaceIndex = 0; // 0 until bound
    unsigned m_LocalAddress = 0;   // network byte order, valid when bound
#endif
};

} // namespace vanmoor::platform

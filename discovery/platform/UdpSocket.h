#pragma once

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
    // Binds the wildcard address on `port`, restricted to the interface that owns `localIP`;
    // sends then leave through that interface with `localIP` as their source, and every datagram
    // received tells the address it was sent to. EADDRNOTAVAIL when no interface owns the address.
    int BindToLocalAddress(const std::string& localIP, int port);
    int EnableBroadcast();
    int SendBroadcast(const char* data, int length, int port);

    enum class Wait { Readable, TimedOut, Woken, Failed };
    // Waits until a datagram is queued, the time-out passes or Wake() was called.
    Wait WaitReadable(int timeoutMilliseconds);
    // Makes the current and every later WaitReadable return Woken at once.
    void Wake();

    struct Received {
        int length; // bytes received, valid when error is 0
        int error;  // EAGAIN: nothing queued; EMSGSIZE: datagram longer than the buffer, dropped
        std::uint32_t destination; // the address the datagram was sent to, network byte order;
                                   // 0 when the system did not tell
    };
    // Takes one queued datagram without waiting.
    Received Receive(char* buffer, int capacity);

    int Handle() const { return m_Handle; }
    void Close();

private:
    int m_Handle = -1;
    int m_WakeHandle = -1;
    unsigned m_InterfaceIndex = 0; // 0 until bound
    unsigned m_LocalAddress = 0;   // network byte order, valid when bound
};

} // namespace vanmoor::platform

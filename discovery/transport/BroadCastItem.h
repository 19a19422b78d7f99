#pragma once

#include "../platform/UdpSocket.h"
#include "ParserBase.h"
#include "ReplyRouting.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace vanmoor {

// One UDP endpoint: a socket on one local address and one protocol port (4022 or 32970) with the
// thread that receives on it and hands every datagram to the endpoint's parser. Sends are
// broadcasts to 255.255.255.255 on the protocol port.
//
// Construction never fails towards its creator: a socket, option or bind failure is logged and
// leaves an endpoint without a receive thread.
class CBroadCastItem {
public:
    // `routing`, when given, is the parser's sink and decides which datagrams the endpoint takes
    // and to which local address they are credited; without it every datagram is the endpoint's.
    CBroadCastItem(int port, std::unique_ptr<CParserBase> parser, std::string localIP,
                   std::unique_ptr<ReplyRouting> routing = nullptr);
    ~CBroadCastItem();
    CBroadCastItem(const CBroadCastItem&) = delete;
    CBroadCastItem& operator=(const CBroadCastItem&) = delete;

    // 0 when sent; -2 when the socket cannot broadcast, -4 for null data, -5 when the send fails.
    int SendPacket(const char* data, int len);

    std::string GetLocalIP() const { return m_LocalIP; }
    int ProtocolPort() const { return m_ProtocolPort; }
    bool HasReceiveThread() const { return m_pRecvThread != nullptr; }

    // true: the receive loop stops before its next datagram and waits; datagrams stay queued in
    // the socket. false: it goes on. Neither call waits for the loop.
    void SetPause(bool pause);

    static constexpr int kSelectTimeoutMilliseconds = 100;
    static constexpr const char* kReceiveThreadName = "vanmoor-recv";

private:
    void RecvPacket();
    // Receives every datagram already queued, stopping early at a pause or a stop.
    void ReceiveQueued();

    std::unique_ptr<ReplyRouting> m_pRouting; // outlives the parser, which pushes into it
    std::unique_ptr<CParserBase> m_pParser;
    std::unique_ptr<std::thread> m_pRecvThread;
    const std::string m_LocalIP;
    const int m_ProtocolPort;
    platform::UdpSocket m_Socket;
    std::atomic<bool> m_bRunning{true};
    std::atomic<bool> m_bPause{false};
    // The loop holds m_PauseMutex only while it tests and waits for the pause; SetPause(false)
    // and the destructor take it briefly before notifying, so no resume is lost between the
    // loop's test and its wait.
    std::condition_variable m_PauseCond;
    std::mutex m_PauseMutex;
};

} // namespace vanmoor

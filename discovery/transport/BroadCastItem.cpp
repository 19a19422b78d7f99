#include "BroadCastItem.h"

#include "../core/LibraryLog.h"
#include "../platform/ThreadName.h"

#include <chrono>

namespace vanmoor {

CBroadCastItem::CBroadCastItem(int port, std::unique_ptr<CParserBase> parser, std::string localIP,
                               std::unique_ptr<ReplyRouting> routing)
    : m_pRouting(std::move(routing)), m_pParser(std::move(parser)), m_LocalIP(std::move(localIP)),
      m_ProtocolPort(port) {
    try {
        if (const int error = m_Socket.Open(); error != 0) {
            WriteLog("CBroadCastItem::SetTargerInfo::socket failed, error = %d", error);
            return;
        }
        if (const int error = m_Socket.EnableAddressReuse(); error != 0) {
            WriteLog("CBroadCastItem::CBroadCastItem::setsockopt failed, error = %d", error);
            return;
        }
        if (const int error = m_Socket.BindToLocalAddress(m_LocalIP, m_ProtocolPort); error != 0) {
            WriteLog("CBroadCastItem::CBroadCastItem::RecvPacket::bind failed, error = %d", error);
            return;
        }
        m_pRecvThread = std::make_unique<std::thread>(&CBroadCastItem::RecvPacket, this);
        platform::NameThread(*m_pRecvThread, kReceiveThreadName);
    } catch (...) {
        WriteLog("CBroadCastItem::CBroadCastItem catch failed\n");
    }
}

CBroadCastItem::~CBroadCastItem() {
    try {
        WriteLog("CBroadCastItem::~CBroadCastItem() begin\n");
        m_bRunning.exchange(false);
        // Wake the loop wherever it waits, instead of letting it run into its time-out.
        m_Socket.Wake();
        { std::lock_guard<std::mutex> lock(m_PauseMutex); }
        m_PauseCond.notify_all();
        if (m_pRecvThread) {
            m_pRecvThread->join();
            m_pRecvThread.reset();
        }
        // Closed after the join: the receive thread may still have been waiting on it.
        m_Socket.Close();
        m_pParser.reset();
        WriteLog("CBroadCastItem::~CBroadCastItem() end\n");
    } catch (...) {
        WriteLog("CBroadCastItem::~CBroadCastItem catch failed\n");
    }
}

int CBroadCastItem::SendPacket(const char* data, int len) {
    int result = 0;
    try {
        WriteLog("CBroadCastItem::SendPacket port = %d, len = %d\n", m_ProtocolPort, len);
        if (const int error = m_Socket.EnableBroadcast(); error != 0) {
            WriteLog("CBroadCastItem::SendPacket::setsockopt failed, error = %d\n", error);
            result = -2;
        } else if (data == nullptr) {
            WriteLog("CBroadCastItem::SendPacket::send package is NULL\n");
            result = -4;
        } else if (const int sendError = m_Socket.SendBroadcast(data, len, m_ProtocolPort);
                   sendError != 0) {
            WriteLog("CBroadCastItem::SendPacket::sendto failed, port = %d, error = %d\n",
                     m_ProtocolPort, sendError);
            result = -5;
        }
    } catch (...) {
        result = -5;
    }
    if (result != 0) {
        WriteLog("CBroadCastItem::SendPacket catch failed\n");
    }
    return result;
}

void CBroadCastItem::SetPause(bool pause) {
    m_bPause.exchange(pause);
    if (!m_bPause) {
        { std::lock_guard<std::mutex> lock(m_PauseMutex); }
        m_PauseCond.notify_all();
    }
}

void CBroadCastItem::RecvPacket() {
    try {
        while (m_bRunning) {
            if (m_bPause) {
                std::unique_lock<std::mutex> lock(m_PauseMutex);
                m_PauseCond.wait(lock, [this] { return !m_bPause || !m_bRunning; });
                continue;
            }
            const auto wait = m_Socket.WaitReadable(kSelectTimeoutMilliseconds);
            if (wait == platform::UdpSocket::Wait::Woken) {
                continue;
            }
            if (wait == platform::UdpSocket::Wait::Readable) {
                ReceiveQueued();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    } catch (...) {
        WriteLog("CRecvItem::RecvPacket catch failed\n");
    }
}

void CBroadCastItem::ReceiveQueued() {
    while (m_bRunning && !m_bPause) {
        auto buffer = std::make_unique<char[]>(CParserBase::kBufferSize);
        const auto received = m_Socket.Receive(buffer.get(), CParserBase::kBufferSize);
        using Status = platform::UdpSocket::Received::Status;
        if (received.status == Status::NothingQueued) {
            return;
        }
        if (received.status != Status::Datagram) {
            WriteLog("CBroadCastItem::RecvPacket::recvfrom(%d) failed, error = %d\n",
                     m_Socket.Handle(), received.error);
            // An oversized datagram is gone and the next may be fine; any other error waits
            // for the next pass.
            if (received.status != Status::TooLong) {
                return;
            }
            continue;
        }
        const std::string* credited =
            m_pRouting ? m_pRouting->Admit(received.destination) : &m_LocalIP;
        if (credited != nullptr) {
            m_pParser->ParserPackage(std::move(buffer), received.length, *credited, m_ProtocolPort);
        }
    }
}

} // namespace vanmoor

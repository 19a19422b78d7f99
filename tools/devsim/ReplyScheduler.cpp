#include "ReplyScheduler.h"

#include <cerrno>
#include <sys/socket.h>

namespace vanmoor::devsim {

namespace {

// The most messages one sendmmsg call takes (UIO_MAXIOV).
constexpr std::size_t kBatchSize = 1024;

} // namespace

ReplyScheduler::ReplyScheduler() : m_Thread([this](std::stop_token stop) { Run(stop); }) {}

void ReplyScheduler::Schedule(std::vector<OutgoingReply> replies) {
    {
        const std::lock_guard lock(m_Mutex);
        for (OutgoingReply& reply : replies) {
            const Clock::time_point due = reply.due;
            m_Queue.emplace(due, std::move(reply));
        }
    }
    m_Wake.notify_all();
}

ReplyCounters ReplyScheduler::Counters() const {
    return {m_Sent.load(), m_Failed.load(), m_LastError.load()};
}

void ReplyScheduler::Run(std::stop_token stop) {
    std::vector<OutgoingReply> batch;
    batch.reserve(kBatchSize);
    while (TakeDueReplies(stop, batch)) {
        SendBatch(batch);
        batch.clear();
    }
}

bool ReplyScheduler::TakeDueReplies(std::stop_token stop, std::vector<OutgoingReply>& batch) {
    std::unique_lock lock(m_Mutex);
    while (true) {
        if (!m_Wake.wait(lock, stop, [&] { return !m_Queue.empty(); })) {
            return false;
        }
        const Clock::time_point next = m_Queue.begin()->first;
        if (next <= Clock::now()) {
            break;
        }
        // Sleep until the next reply is due, unless an earlier one is scheduled meanwhile.
        m_Wake.wait_until(lock, stop, next, [&] { return m_Queue.begin()->first < next; });
    }
    const Clock::time_point now = Clock::now();
    while (!m_Queue.empty() && batch.size() < kBatchSize && m_Queue.begin()->first <= now) {
        batch.push_back(std::move(m_Queue.extract(m_Queue.begin()).mapped()));
    }
    return true;
}

void ReplyScheduler::SendBatch(std::vector<OutgoingReply>& batch) {
    std::vector<iovec> payloads(batch.size());
    std::vector<mmsghdr> headers(batch.size());
    for (std::size_t i = 0; i < batch.size(); ++i) {
        payloads[i] = {batch[i].bytes.data(), batch[i].bytes.size()};
        msghdr& header = headers[i].msg_hdr;
        header.msg_name = &batch[i].destination;
        header.msg_namelen = sizeof batch[i].destination;
        header.msg_iov = &payloads[i];
        header.msg_iovlen = 1;
    }
    // One call per run of replies that leave through the same socket.
    for (std::size_t begin = 0; begin < batch.size();) {
        std::size_t end = begin + 1;
        while (end < batch.size() && batch[end].socket == batch[begin].socket) {
            ++end;
        }
        SendFromSocket(batch[begin].socket, headers.data() + begin, end - begin);
        begin = end;
    }
}

void ReplyScheduler::SendFromSocket(int socket, mmsghdr* headers, std::size_t count) {
    std::size_t next = 0;
    while (next < count) {
        const int sent = sendmmsg(socket, headers + next, static_cast<unsigned>(count - next), 0);
        if (sent > 0) {
            m_Sent += static_cast<std::uint64_t>(sent);
            next += static_cast<std::size_t>(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else {
            // The first message of the rest cannot be sent: count it and go on with the others.
            m_LastError = errno;
            ++m_Failed;
            ++next;
        }
    }
}

} // namespace vanmoor::devsim

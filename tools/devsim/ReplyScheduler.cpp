#include "ReplyScheduler.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <netinet/udp.h>

namespace vanmoor::devsim {

namespace {

// The most messages one sendmmsg call takes (UIO_MAXIOV).
constexpr std::size_t kBatchSize = 1024;
// Equal-sized replies to one destination leave as one message that the kernel cuts into
// datagrams (UDP segmentation offload), within these limits of the kernel.
constexpr std::size_t kMaxSegments = 64;
constexpr std::size_t kMaxSegmentedBytes = 65000;

bool SameDestination(const sockaddr_in& a, const sockaddr_in& b) {
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

// How many replies from `first` on can leave as one segmented message.
std::size_t SegmentableRun(std::span<const OutgoingReply> batch, std::size_t first) {
    const OutgoingReply& lead = batch[first];
    std::size_t count = 1;
    while (first + count < batch.size() && count < kMaxSegments &&
           (count + 1) * lead.bytes.size() <= kMaxSegmentedBytes &&
           batch[first + count].bytes.size() == lead.bytes.size() &&
           SameDestination(batch[first + count].destination, lead.destination)) {
        ++count;
    }
    return count;
}

} // namespace

ReplyScheduler::ReplyScheduler() : m_Thread([this](std::stop_token stop) { Run(stop); }) {}

void ReplyScheduler::Schedule(std::vector<ReplyWave> waves) {
    {
        const std::lock_guard lock(m_Mutex);
        for (ReplyWave& wave : waves) {
            const Clock::time_point due = wave.due;
            m_Queue.emplace(due, std::move(wave));
        }
    }
    m_Wake.notify_all();
}

ReplyCounters ReplyScheduler::Counters() const {
    return {m_Sent.load(), m_Failed.load(), m_LastError.load()};
}

void ReplyScheduler::Run(std::stop_token stop) {
    ReplyWave wave;
    while (TakeDueWave(stop, wave)) {
        const std::span<OutgoingReply> replies(wave.replies);
        for (std::size_t begin = 0; begin < replies.size() && !stop.stop_requested();
             begin += kBatchSize) {
            SendBatch(wave.socket,
                      replies.subspan(begin, std::min(kBatchSize, replies.size() - begin)));
        }
    }
}

bool ReplyScheduler::TakeDueWave(std::stop_token stop, ReplyWave& wave) {
    std::unique_lock lock(m_Mutex);
    while (true) {
        if (!m_Wake.wait(lock, stop, [&] { return !m_Queue.empty(); })) {
            return false;
        }
        const Clock::time_point next = m_Queue.begin()->first;
        if (next <= Clock::now()) {
            wave = std::move(m_Queue.extract(m_Queue.begin()).mapped());
            return true;
        }
        // Sleep until the next wave is due, unless an earlier one is scheduled meanwhile.
        m_Wake.wait_until(lock, stop, next, [&] { return m_Queue.begin()->first < next; });
    }
}

void ReplyScheduler::SegmentControl::Attach(msghdr& header, std::uint16_t segmentSize) {
    header.msg_control = buffer;
    header.msg_controllen = sizeof buffer;
    cmsghdr* item = CMSG_FIRSTHDR(&header);
    item->cmsg_level = SOL_UDP;
    item->cmsg_type = UDP_SEGMENT;
    item->cmsg_len = CMSG_LEN(sizeof segmentSize);
    std::memcpy(CMSG_DATA(item), &segmentSize, sizeof segmentSize);
}

void ReplyScheduler::SendBatch(int socket, std::span<OutgoingReply> batch) {
    std::vector<iovec> payloads(batch.size());
    for (std::size_t i = 0; i < batch.size(); ++i) {
        payloads[i] = {batch[i].bytes.data(), batch[i].bytes.size()};
    }
    std::vector<Message> messages;
    for (std::size_t first = 0; first < batch.size();) {
        const std::size_t count = m_Segmenting ? SegmentableRun(batch, first) : 1;
        messages.push_back({first, count});
        first += count;
    }
    std::vector<mmsghdr> headers(messages.size());
    std::vector<SegmentControl> controls(messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
        OutgoingReply& lead = batch[messages[i].first];
        msghdr& header = headers[i].msg_hdr;
        header.msg_name = &lead.destination;
        header.msg_namelen = sizeof lead.destination;
        header.msg_iov = &payloads[messages[i].first];
        header.msg_iovlen = messages[i].count;
        if (messages[i].count > 1) {
            controls[i].Attach(header, static_cast<std::uint16_t>(lead.bytes.size()));
        }
    }
    SendMessages(socket, headers, messages);
}

void ReplyScheduler::SendMessages(int socket, std::span<mmsghdr> headers,
                                  std::span<const Message> messages) {
    std::size_t next = 0;
    while (next < headers.size()) {
        const int sent =
            sendmmsg(socket, &headers[next], static_cast<unsigned>(headers.size() - next), 0);
        if (sent > 0) {
            for (std::size_t i = next; i < next + static_cast<std::size_t>(sent); ++i) {
                m_Sent += messages[i].count;
            }
            next += static_cast<std::size_t>(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (messages[next].count > 1) {
            // Segmentation refused on this system or route: from now on one datagram each.
            m_Segmenting = false;
            SendOneByOne(socket, headers[next].msg_hdr);
            ++next;
        } else {
            // This datagram cannot be sent: count it and go on with the others.
            CountFailure(errno);
            ++next;
        }
    }
}

void ReplyScheduler::SendOneByOne(int socket, const msghdr& segmented) {
    for (std::size_t i = 0; i < segmented.msg_iovlen; ++i) {
        const iovec& payload = segmented.msg_iov[i];
        if (sendto(socket, payload.iov_base, payload.iov_len, 0,
                   static_cast<const sockaddr*>(segmented.msg_name), segmented.msg_namelen) < 0) {
            CountFailure(errno);
        } else {
            ++m_Sent;
        }
    }
}

void ReplyScheduler::CountFailure(int error) {
    m_LastError = error;
    ++m_Failed;
}

} // namespace vanmoor::devsim

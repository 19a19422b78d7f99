#pragma once

#include "Observation.h"
#include "WireBytes.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <span>
#include <sys/socket.h>
#include <thread>
#include <vector>

namespace vanmoor::devsim {

struct OutgoingReply {
    sockaddr_in destination;
    Bytes bytes;
};

// Replies that leave together, in this order, once they are due.
struct ReplyWave {
    Clock::time_point due;
    int socket; // owned by the simulator; open for as long as the scheduler lives
    std::vector<OutgoingReply> replies;
};

struct ReplyCounters {
    std::uint64_t sent = 0;
    std::uint64_t failed = 0;
    int lastError = 0; // errno of the latest failed send
};

// Sends replies from a thread of its own when they are due, many per system call, so that
// thousands of devices can answer at once while the receive loop keeps listening. Waves due at
// the same time leave in the order they were scheduled. Destruction stops the thread promptly
// and drops what was not sent yet.
class ReplyScheduler {
public:
    ReplyScheduler();
    ReplyScheduler(const ReplyScheduler&) = delete;
    ReplyScheduler& operator=(const ReplyScheduler&) = delete;

    void Schedule(std::vector<ReplyWave> waves);
    ReplyCounters Counters() const;

private:
    // Replies [first, first + count) of a batch, sent as one message.
    struct Message {
        std::size_t first;
        std::size_t count;
    };
    // The segment size of a message that carries several replies.
    struct SegmentControl {
        alignas(cmsghdr) char buffer[CMSG_SPACE(sizeof(std::uint16_t))];
        void Attach(msghdr& header, std::uint16_t segmentSize);
    };

    void Run(std::stop_token stop);
    // Waits until the earliest wave is due and takes it; false when asked to stop.
    bool TakeDueWave(std::stop_token stop, ReplyWave& wave);
    void SendBatch(int socket, std::span<OutgoingReply> batch);
    void SendMessages(int socket, std::span<mmsghdr> headers, std::span<const Message> messages);
    void SendOneByOne(int socket, const msghdr& segmented);
    void CountFailure(int error);

    std::mutex m_Mutex;
    std::condition_variable_any m_Wake;
    std::multimap<Clock::time_point, ReplyWave> m_Queue; // equal times keep insertion order
    std::atomic<std::uint64_t> m_Sent{0};
    std::atomic<std::uint64_t> m_Failed{0};
    std::atomic<int> m_LastError{0};
    bool m_Segmenting = true; // sending thread only: the kernel takes segmented messages
    std::jthread m_Thread;    // last: starts after, and stops before, the members it uses
};

} // namespace vanmoor::devsim

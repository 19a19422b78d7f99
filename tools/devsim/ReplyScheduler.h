#pragma once

#include "Observation.h"
#include "WireBytes.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <thread>
#include <vector>

namespace vanmoor::devsim {

struct OutgoingReply {
    Clock::time_point due;
    int socket; // owned by the simulator; open for as long as the scheduler lives
    sockaddr_in destination;
    Bytes bytes;
};

struct ReplyCounters {
    std::uint64_t sent = 0;
    std::uint64_t failed = 0;
    int lastError = 0; // errno of the latest failed send
};

// Sends replies from a thread of its own when they are due, in batches of one system call each,
// so that thousands of devices can answer at once while the receive loop keeps listening.
// Replies due at the same time leave in the order they were scheduled. Destruction stops the
// thread promptly and drops what was not sent yet.
class ReplyScheduler {
public:
    ReplyScheduler();
    ReplyScheduler(const ReplyScheduler&) = delete;
    ReplyScheduler& operator=(const ReplyScheduler&) = delete;

    void Schedule(std::vector<OutgoingReply> replies);
    ReplyCounters Counters() const;

private:
    void Run(std::stop_token stop);
    // Waits for the next due replies and moves up to one batch of them into `batch`; false when
    // asked to stop.
    bool TakeDueReplies(std::stop_token stop, std::vector<OutgoingReply>& batch);
    void SendBatch(std::vector<OutgoingReply>& batch);
    void SendFromSocket(int socket, struct mmsghdr* headers, std::size_t count);

    std::mutex m_Mutex;
    std::condition_variable_any m_Wake;
    std::multimap<Clock::time_point, OutgoingReply> m_Queue; // equal times keep insertion order
    std::atomic<std::uint64_t> m_Sent{0};
    std::atomic<std::uint64_t> m_Failed{0};
    std::atomic<int> m_LastError{0};
    std::jthread m_Thread; // last: starts after, and stops before, the members it uses
};

} // namespace vanmoor::devsim

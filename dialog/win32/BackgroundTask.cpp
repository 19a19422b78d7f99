#include "BackgroundTask.h"

#include <utility>

namespace kestrun::win32 {

void BackgroundTask::Run(std::function<void(const Post& post)> work) {
    Stop();
    m_Thread = std::thread([this, work = std::move(work)] {
        try {
            work([this](std::function<void()> report) { Queue(std::move(report)); });
        } catch (...) {
            // Nothing may escape the thread.
        }
    });
}

void BackgroundTask::Run(std::function<bool()> work, std::function<void(bool)> done) {
    Run([work = std::move(work), done = std::move(done)](const Post& post) {
        bool result = false;
        try {
            result = work();
        } catch (...) {
            // A failed piece of work reports failure.
        }
        post([done, result] { done(result); });
    });
}

void BackgroundTask::Queue(std::function<void()> report) {
    {
        const std::lock_guard<std::mutex> lock(m_Mutex);
        m_Reports.push_back(std::move(report));
    }
    PostMessageW(m_Window, kDeliverMessage, 0, 0);
}

void BackgroundTask::Deliver() {
    for (;;) {
        std::function<void()> report;
        {
            const std::lock_guard<std::mutex> lock(m_Mutex);
            if (m_Reports.empty()) {
                return;
            }
            report = std::move(m_Reports.front());
            m_Reports.pop_front();
        }
        // A report may start new work or stop this one; the queue is read afresh each time.
        report();
    }
}

void BackgroundTask::Stop() {
    if (m_Thread.joinable()) {
        m_Thread.join();
    }
    const std::lock_guard<std::mutex> lock(m_Mutex);
    m_Reports.clear();
}

} // namespace kestrun::win32

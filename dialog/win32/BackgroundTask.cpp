#include "BackgroundTask.h"

#include <utility>

namespace kestrun::win32 {

void BackgroundTask::Run(std::function<bool()> work, std::function<void(bool)> done) {
    Stop();
    m_Done = std::move(done);
    m_Thread = std::thread([window = m_Window, work = std::move(work)] {
        bool result = false;
        try {
            result = work();
        } catch (...) {
            // A failed piece of work reports failure; nothing may escape the thread.
        }
        PostMessageW(window, kFinishedMessage, result ? 1 : 0, 0);
    });
}

void BackgroundTask::Finish(WPARAM result) {
    if (m_Thread.joinable()) {
        m_Thread.join();
    }
    // A message of work that was stopped finds no `done`.
    if (std::function<void(bool)> done = std::exchange(m_Done, nullptr)) {
        done(result != 0);
    }
}

void BackgroundTask::Stop() {
    m_Done = nullptr;
    if (m_Thread.joinable()) {
        m_Thread.join();
    }
}

} // namespace kestrun::win32

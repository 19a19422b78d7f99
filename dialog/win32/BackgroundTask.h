#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace kestrun::win32 {

// Runs one piece of work at a time on a thread of its own. The work hands reports to the
// window's thread through `post`: each is queued and kDeliverMessage posted to the window, which
// then calls Deliver on its own thread to run the reports in the order they were posted.
class BackgroundTask {
public:
    static constexpr UINT kDeliverMessage = WM_APP + 1;
    using Post = std::function<void(std::function<void()> report)>;

    explicit BackgroundTask(HWND window) : m_Window(window) {}
    ~BackgroundTask() { Stop(); }
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // `work` runs off the window's thread; whatever it throws is dropped.
    void Run(std::function<void(const Post& post)> work);
    // A piece of work that reports once: `done` gets its result, false when it threw.
    void Run(std::function<bool()> work, std::function<void(bool)> done);
    // On kDeliverMessage: runs the reports waiting, on the window's thread.
    void Deliver();
    // Waits for work still running; its reports not yet delivered are dropped.
    void Stop();
    // From the work's thread: a report beyond the one `done` gets, delivered as `post`'s are.
    void Queue(std::function<void()> report);

private:
    HWND m_Window;
    std::thread m_Thread;
    std::mutex m_Mutex;
    std::deque<std::function<void()>> m_Reports; // guarded by m_Mutex
};

} // namespace kestrun::win32

#pragma once

#include <windows.h>

#include <functional>
#include <thread>

namespace kestrun::win32 {

// Runs one piece of work at a time on a thread of its own and posts kFinishedMessage to the
// window when it has ended; the window then calls Finish on its own thread, which hands the
// result to `done`.
class BackgroundTask {
public:
    static constexpr UINT kFinishedMessage = WM_APP + 1;

    explicit BackgroundTask(HWND window) : m_Window(window) {}
    ~BackgroundTask() { Stop(); }
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    void Run(std::function<bool()> work, std::function<void(bool)> done);
    // On kFinishedMessage: joins the thread and calls `done` with the result (WPARAM).
    void Finish(WPARAM result);
    // Waits for work still running; its `done` is then not called.
    void Stop();

private:
    HWND m_Window;
    std::thread m_Thread;
    std::function<void(bool)> m_Done;
};

} // namespace kestrun::win32

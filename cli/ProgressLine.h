#pragma once

#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

namespace vanmoor::cli {

// While it lives, a one-line indicator on a terminal ("searching 0.6/1.5 s"), redrawn in place
// from a thread of its own because the search blocks the caller. Wiped when it ends: with an
// erase sequence where the terminal takes escapes, else with blanks over what was drawn. Does
// nothing when not enabled.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool enabled, bool takesEscapes, std::string label,
                 int expectedMilliseconds);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

private:
    void Draw();

    std::ostream& m_Err;
    const bool m_TakesEscapes;
    const std::string m_Label;
    const int m_Expected;
    std::mutex m_Mutex;
    std::condition_variable m_Wake;
    bool m_Done = false;
    std::size_t m_DrawnWidth = 0; // bytes of the longest line drawn

    std::thread m_Thread;
};

} // namespace vanmoor::cli

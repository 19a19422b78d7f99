#include "ProgressLine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace vanmoor::cli {

namespace {
constexpr std::chrono::milliseconds kRedraw{100};
}

ProgressLine::ProgressLine(std::ostream& err, bool enabled, bool takesEscapes, std::string label,
                           int expectedMilliseconds)
    : m_Err(err), m_TakesEscapes(takesEscapes), m_Label(std::move(label)),
      m_Expected(expectedMilliseconds) {
    if (enabled) {
        m_Thread = std::thread([this] { Draw(); });
    }
}

ProgressLine::~ProgressLine() {
    if (!m_Thread.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(m_Mutex);
        m_Done = true;
    }
    m_Wake.notify_all();
    m_Thread.join();
    if (m_TakesEscapes) {
        m_Err << "\r\033[K" << std::flush; // back to the line's start, line erased
    } else {
        m_Err << '\r' << std::string(m_DrawnWidth, ' ') << '\r' << std::flush;
    }
}

void ProgressLine::Draw() {
    const auto start = std::chrono::steady_clock::now();
    std::unique_lock lock(m_Mutex);
    while (!m_Wake.wait_for(lock, kRedraw, [this] { return m_Done; })) {
        const auto elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        char text[64];
        std::snprintf(text, sizeof text, " %.1f/%.1f s", elapsed, m_Expected / 1000.0);
        m_Err << '\r' << m_Label << text << std::flush;
        m_DrawnWidth = std::max(m_DrawnWidth, m_Label.size() + std::strlen(text));
    }
}

} // namespace vanmoor::cli

#pragma once

#include <unistd.h>
#include <utility>

namespace vanmoor::devsim {

// Owns a file descriptor and closes it.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_Fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_Fd(std::exchange(other.m_Fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            m_Fd = std::exchange(other.m_Fd, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return m_Fd; }
    void Reset() {
        if (m_Fd >= 0) {
            close(m_Fd);
            m_Fd = -1;
        }
    }

private:
    int m_Fd = -1;
};

} // namespace vanmoor::devsim

#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vanmoor::fuzz {

// Takes the fuzz input apart from the front. Past its end every read yields zeros, so that a
// short input still drives a whole operation.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_Rest(data, size) {}

    bool Empty() const { return m_Rest.empty(); }

    std::uint8_t Byte() {
        if (m_Rest.empty()) {
            return 0;
        }
        const std::uint8_t value = m_Rest.front();
        m_Rest = m_Rest.subspan(1);
        return value;
    }

    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }

    std::int32_t Int32() {
        const std::uint32_t low = Word();
        return static_cast<std::int32_t>(low | std::uint32_t{Word()} << 16);
    }

    // Up to `count` bytes, fewer when the input ends first.
    std::span<const std::uint8_t> Bytes(std::size_t count) {
        const std::span<const std::uint8_t> taken = m_Rest.first(std::min(count, m_Rest.size()));
        m_Rest = m_Rest.subspan(taken.size());
        return taken;
    }

    // Fills `out` from the input, zeros where the input ends.
    void Fill(void* out, std::size_t size) {
        const std::span<const std::uint8_t> taken = Bytes(size);
        std::fill_n(std::copy(taken.begin(), taken.end(), static_cast<std::uint8_t*>(out)),
                    size - taken.size(), std::uint8_t{0});
    }

private:
    std::span<const std::uint8_t> m_Rest;
};

} // namespace vanmoor::fuzz

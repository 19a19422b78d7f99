#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace vanmoor {

// Fixed-offset fields of datagrams. Offsets and widths are template arguments, checked against
// the datagram's and the field's sizes at compile time, so a layout mistake cannot reach past
// either of them.

template <std::size_t Offset, std::size_t Width, std::size_t Size, class Byte,
          std::size_t FieldSize>
void ReadField(std::span<const char, Size> datagram, std::array<Byte, FieldSize>& field) {
    static_assert(Offset + Width <= Size, "field reaches past the datagram");
    static_assert(Width <= FieldSize, "field wider than its destination");
    std::memcpy(field.data(), datagram.data() + Offset, Width);
}

template <std::size_t Offset, std::size_t Size>
std::uint8_t ReadByte(std::span<const char, Size> datagram) {
    static_assert(Offset < Size, "byte past the datagram");
    return static_cast<std::uint8_t>(datagram[Offset]);
}

template <std::size_t Offset, std::size_t Size>
std::int32_t ReadLittleEndian32(std::span<const char, Size> datagram) {
    static_assert(Offset + 4 <= Size, "number reaches past the datagram");
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{static_cast<std::uint8_t>(datagram[Offset + i])} << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

template <std::size_t Offset, std::size_t Size, class Byte, std::size_t Width>
void WriteField(std::array<char, Size>& datagram, const Byte (&field)[Width]) {
    static_assert(Offset + Width <= Size, "field reaches past the datagram");
    std::memcpy(datagram.data() + Offset, field, Width);
}

template <std::size_t Offset, std::size_t Size, class Byte, std::size_t Width>
void WriteField(std::array<char, Size>& datagram, const std::array<Byte, Width>& field) {
    static_assert(Offset + Width <= Size, "field reaches past the datagram");
    std::memcpy(datagram.data() + Offset, field.data(), Width);
}

// Writes the characters of a string literal without its terminator.
template <std::size_t Offset, std::size_t Size, std::size_t Length>
void WriteText(std::array<char, Size>& datagram, const char (&text)[Length]) {
    static_assert(Offset + Length - 1 <= Size, "text reaches past the datagram");
    std::memcpy(datagram.data() + Offset, text, Length - 1);
}

template <std::size_t Offset, std::size_t Size>
void WriteByte(std::array<char, Size>& datagram, std::uint8_t value) {
    static_assert(Offset < Size, "byte past the datagram");
    datagram[Offset] = static_cast<char>(value);
}

template <std::size_t Offset, std::size_t Width, std::size_t Size>
void WriteLittleEndian(std::array<char, Size>& datagram, std::uint32_t value) {
    static_assert(Offset + Width <= Size, "number reaches past the datagram");
    for (std::size_t i = 0; i < Width; ++i) {
        datagram[Offset + i] = static_cast<char>(value >> (8 * i));
    }
}

} // namespace vanmoor

#pragma once

#include "transport/PackageSink.h"
#include "transport/ParserBase.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

namespace vanmoor::test {

class RecordingSink final : public PackageSink {
public:
    void PushPackage(std::unique_ptr<DeviceRecord> record) override {
        records.push_back(std::move(record));
    }
    std::vector<std::unique_ptr<DeviceRecord>> records;
};

class ThrowingSink final : public PackageSink {
public:
    void PushPackage(std::unique_ptr<DeviceRecord>) override { throw std::bad_alloc(); }
};

using Datagram = std::vector<std::uint8_t>;

inline void Put(Datagram& datagram, std::size_t offset, std::initializer_list<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), datagram.begin() + offset);
}

inline void PutText(Datagram& datagram, std::size_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), datagram.begin() + offset);
}

// A receive buffer as the endpoint hands it over: the first `length` bytes of the datagram,
// zeros after them.
inline std::unique_ptr<char[]> ReceiveBuffer(const Datagram& datagram, std::size_t length) {
    auto buffer = std::make_unique<char[]>(CParserBase::kBufferSize);
    std::copy_n(datagram.begin(),
                std::min({length, datagram.size(), std::size_t{CParserBase::kBufferSize}}),
                buffer.get());
    return buffer;
}

inline std::unique_ptr<char[]> ReceiveBuffer(const Datagram& datagram) {
    return ReceiveBuffer(datagram, datagram.size());
}

} // namespace vanmoor::test

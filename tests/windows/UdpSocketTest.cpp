// The Winsock endpoint socket, run under Wine inside the private test network (wine-network.sh):
// a datagram longer than the receive buffer is the receive failure and the next one still
// arrives; Wake() ends a wait that would otherwise last a minute.
#include "platform/UdpSocket.h"
#include "platform/SocketLayer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace vanmoor::platform {
namespace {

constexpr int kPort = 47022;
constexpr int kLongWaitMilliseconds = 60000;

// The first pc address of the test network; the program refuses to run anywhere else.
std::string TestNetworkAddress() {
    const char* inside = std::getenv("VANMOOR_TESTNET");
    const char* addresses = std::getenv("VANMOOR_TESTNET_PC_ADDRS");
    if (inside == nullptr || std::string(inside) != "1" || addresses == nullptr) {
        return {};
    }
    const std::string list = addresses;
    return list.substr(0, list.find(' '));
}

class UdpSocketTest : public testing::Test {
protected:
    void SetUp() override {
        address = TestNetworkAddress();
        if (address.empty()) {
            GTEST_FAIL() << "runs only inside tests/netns/testnet.sh";
        }
        ASSERT_EQ(layer.StartError(), 0);
        ASSERT_EQ(socket.Open(), 0);
        ASSERT_EQ(socket.EnableAddressReuse(), 0);
        ASSERT_EQ(socket.BindToLocalAddress(address, kPort), 0);
    }

    // Sends `length` bytes to the socket under test from a socket of its own.
    void SendToSocket(int length) const {
        const SOCKET sender = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        ASSERT_NE(sender, INVALID_SOCKET);
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(kPort);
        inet_pton(AF_INET, address.c_str(), &target.sin_addr);
        const std::string payload(static_cast<std::size_t>(length), 'x');
        const int sent = sendto(sender, payload.data(), length, 0,
                                reinterpret_cast<const sockaddr*>(&target), sizeof target);
        closesocket(sender);
        ASSERT_EQ(sent, length);
    }

    // Waits for the next queued datagram and takes it into a 500-byte buffer.
    UdpSocket::Received Next() {
        char buffer[500];
        for (;;) {
            const auto wait = socket.WaitReadable(kLongWaitMilliseconds);
            if (wait != UdpSocket::Wait::Readable) {
                ADD_FAILURE() << "nothing arrived";
                return {UdpSocket::Received::Status::Failed, 0, 0, 0};
            }
            const auto received = socket.Receive(buffer, sizeof buffer);
            if (received.status != UdpSocket::Received::Status::NothingQueued) {
                return received;
            }
        }
    }

    SocketLayer layer;
    UdpSocket socket;
    std::string address;
};

TEST_F(UdpSocketTest, ALongerDatagramIsTheReceiveFailureAndTheNextStillArrives) {
    SendToSocket(600);
    SendToSocket(72);
    const auto tooLong = Next();
    EXPECT_EQ(tooLong.status, UdpSocket::Received::Status::TooLong);
    EXPECT_EQ(tooLong.error, WSAEMSGSIZE);
    const auto next = Next();
    EXPECT_EQ(next.status, UdpSocket::Received::Status::Datagram);
    EXPECT_EQ(next.length, 72);
}

TEST_F(UdpSocketTest, WakeEndsTheWaitAndEveryLaterOne) {
    UdpSocket::Wait first = UdpSocket::Wait::Failed;
    std::thread waiter([&] { first = socket.WaitReadable(kLongWaitMilliseconds); });
    socket.Wake();
    waiter.join();
    EXPECT_EQ(first, UdpSocket::Wait::Woken);
    EXPECT_EQ(socket.WaitReadable(kLongWaitMilliseconds), UdpSocket::Wait::Woken);
}

} // namespace
} // namespace vanmoor::platform

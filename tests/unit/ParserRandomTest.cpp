#include "LogCapture.h"
#include "ParserTestSupport.h"

#include "transport/Parser32970.h"
#include "transport/Parser4022.h"

#include <cctype>
#include <random>

namespace vanmoor::test {
namespace {

// Every text field the parsers fill ends in a zero, whatever the datagram held.
void ExpectTerminated(const DeviceRecord& r) {
    EXPECT_EQ(r.m_Device.back(), '\0');
    EXPECT_EQ(r.m_Version.back(), '\0');
    EXPECT_EQ(r.m_Brand.back(), '\0');
    EXPECT_EQ(r.m_ModeName.back(), '\0');
    EXPECT_EQ(r.m_CameraName1.back(), '\0');
}

// Random datagrams of every length a receive buffer can hold; half of them carry a valid
// beginning so that they reach the field parsing. Meant to run under AddressSanitizer too.
TEST(ParserRandomTest, RandomDatagramsOfEveryLength) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    RecordingSink sink;
    CParserImp_4022port parser4022(&sink);
    CParserImp_32970port parser32970(&sink);

    for (int len = 0; len <= CParserBase::kBufferSize; ++len) {
        for (int round = 0; round < 8; ++round) {
            Datagram datagram(static_cast<std::size_t>(len));
            for (auto& b : datagram) {
                b = static_cast<std::uint8_t>(byte(random));
            }
            const bool shaped = round % 2 == 0 && len >= 15;
            if (shaped) {
                PutText(datagram, 0, std::string_view("IPCam\0", 6));
                datagram[14] = 0x02;
            }

            sink.records.clear();
            parser4022.ParserPackage(ReceiveBuffer(datagram), len, "192.0.2.1", 4022);
            ASSERT_EQ(sink.records.size(), shaped && len >= 56 ? 1u : 0u) << len;
            if (!sink.records.empty()) {
                const DeviceRecord& r = *sink.records[0];
                ExpectTerminated(r);
                const std::string device(r.m_Device.data());
                EXPECT_EQ(device.size(), len >= 70 ? 8u : 0u);
                for (char c : device) {
                    EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c)) &&
                                !std::islower(static_cast<unsigned char>(c)));
                }
            }

            sink.records.clear();
            parser32970.ParserPackage(ReceiveBuffer(datagram), len, "192.0.2.1", 32970);
            const bool reply32970 = len == 328 && datagram[14] == 0x02;
            ASSERT_EQ(sink.records.size(), reply32970 ? 1u : 0u) << len;
            if (!sink.records.empty()) {
                ExpectTerminated(*sink.records[0]);
                EXPECT_EQ(sink.records[0]->m_Protocol, 1);
            }
        }
    }
    TakeLibraryLog();
}

} // namespace
} // namespace vanmoor::test

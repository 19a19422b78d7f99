#include "ProbeMessage.h"
#include "MessageId.h"
#include "Protocol.h"
#include "RepeatSchedule.h"
#include "WsdDatagrams.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace vanmoor::wsd::test {
namespace {

TEST(WsdProbeTest, AProbeReadsBackWithItsTypeResolved) {
    for (const QualifiedName& type : {kNetworkVideoTransmitter, kDeviceType}) {
        const std::string id = NewMessageId();
        const auto result = Parse(BuildProbe(type, id));
        ASSERT_EQ(result.error, ReadError::None);
        EXPECT_EQ(result.message.kind, MessageKind::Probe);
        EXPECT_EQ(result.message.action, kProbeAction);
        EXPECT_EQ(result.message.to, kDiscoveryTo);
        EXPECT_EQ(result.message.messageId, id);
        ASSERT_EQ(result.message.targets.size(), 1u);
        EXPECT_EQ(result.message.targets[0].types, std::vector<QualifiedName>{type});
    }
}

TEST(WsdProbeTest, MessageIdsAreFreshRandomUuids) {
    const std::regex uuid("urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-"
                          "[0-9a-f]{12}");
    std::set<std::string> ids;
    for (int i = 0; i < 1000; ++i) {
        const std::string id = NewMessageId();
        ASSERT_TRUE(std::regex_match(id, uuid)) << id;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 1000u);
}

TEST(WsdProbeTest, RepeatDelaysStartRandomlyInTheirRangeAndDoubleUpToTheUpperDelay) {
    std::set<long> firsts;
    for (unsigned seed = 0; seed < 200; ++seed) {
        std::mt19937 random(seed);
        const auto delays = RepeatDelays(5, random);
        ASSERT_EQ(delays.size(), 5u);
        EXPECT_GE(delays[0], kUdpMinDelay);
        EXPECT_LE(delays[0], kUdpMaxDelay);
        firsts.insert(delays[0].count());
        for (std::size_t i = 1; i < delays.size(); ++i) {
            EXPECT_EQ(delays[i], std::min(delays[i - 1] * 2, kUdpUpperDelay));
        }
    }
    EXPECT_GT(firsts.size(), 50u);
    std::mt19937 random(1);
    EXPECT_TRUE(RepeatDelays(0, random).empty());
}

} // namespace
} // namespace vanmoor::wsd::test

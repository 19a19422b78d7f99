#include "DeviceTable.h"
#include "Protocol.h"
#include "WsdDatagrams.h"

#include <gtest/gtest.h>

namespace vanmoor::wsd::test {
namespace {

constexpr std::string_view kOurProbe = "urn:uuid:0f1e2d3c-4b5a-4968-8776-a5b4c3d2e1f0";

Message Answer(std::string_view messageId, std::string_view endpoint, std::string_view xaddr,
               std::string_view relatesTo = kOurProbe) {
    auto result = Parse(ProbeMatches(messageId, relatesTo, endpoint, xaddr));
    EXPECT_EQ(result.error, ReadError::None);
    return result.message;
}

Message Announcement(std::string_view element, std::string_view messageId,
                     std::string_view endpoint) {
    auto result = Parse(Envelope("<wsa:MessageID>" + std::string(messageId) + "</wsa:MessageID>",
                                 "<wsdd:" + std::string(element) + ">" +
                                     Match(endpoint, "http://192.0.2.50/") +
                                     "</wsdd:" + std::string(element) + ">"));
    EXPECT_EQ(result.error, ReadError::None);
    return result.message;
}

class WsdDeviceTableTest : public ::testing::Test {
protected:
    WsdDeviceTableTest() { table.AddOwnProbe(kOurProbe); }

    DeviceTable table;
};

TEST_F(WsdDeviceTableTest, OneEntryPerEndpointAndTheLatestAnswerWins) {
    EXPECT_EQ(table.Apply(Answer("uuid:m1", "urn:cam", "http://192.0.2.10/"), "10.1.0.1").added,
              1u);
    const auto outcome =
        table.Apply(Answer("uuid:m2", "urn:cam", "http://192.0.2.11/"), "10.2.0.1");
    EXPECT_EQ(outcome.updated, 1u);
    EXPECT_EQ(outcome.added, 0u);
    ASSERT_EQ(table.Size(), 1u);
    const DeviceTable::Entry* entry = table.Find("urn:cam");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->target.ipv4, (settings::Ipv4Octets{192, 0, 2, 11}));
    EXPECT_EQ(entry->receivedOn, "10.2.0.1");
}

TEST_F(WsdDeviceTableTest, AReplyToAProbeWeDidNotSendIsDropped) {
    for (const std::string_view relatesTo : {"urn:uuid:someone-else", ""}) {
        const auto outcome =
            table.Apply(Answer("uuid:m1", "urn:cam", "http://192.0.2.10/", relatesTo), "10.1.0.1");
        EXPECT_EQ(outcome.disposition, DeviceTable::Disposition::Foreign) << relatesTo;
    }
    EXPECT_EQ(table.Size(), 0u);
    // Announcements answer nothing and need no probe of ours.
    EXPECT_EQ(table.Apply(Announcement("Hello", "uuid:h1", "urn:hello"), "10.1.0.1").added, 1u);
}

TEST_F(WsdDeviceTableTest, AMessageSeenBeforeIsDropped) {
    const Message answer = Answer("uuid:same", "urn:cam", "http://192.0.2.10/");
    table.Apply(answer, "10.1.0.1");
    Message repeat = Answer("uuid:same", "urn:cam", "http://192.0.2.99/");
    EXPECT_EQ(table.Apply(repeat, "10.2.0.1").disposition, DeviceTable::Disposition::Repeated);
    EXPECT_EQ(table.Find("urn:cam")->receivedOn, "10.1.0.1");
    EXPECT_EQ(table.Find("urn:cam")->target.ipv4, (settings::Ipv4Octets{192, 0, 2, 10}));
}

TEST_F(WsdDeviceTableTest, AByeRemovesItsEndpoint) {
    table.Apply(Answer("uuid:m1", "urn:cam", "http://192.0.2.10/"), "10.1.0.1");
    table.Apply(Answer("uuid:m2", "urn:other", "http://192.0.2.11/"), "10.1.0.1");
    EXPECT_EQ(table.Apply(Announcement("Bye", "uuid:b1", "urn:cam"), "10.1.0.1").removed, 1u);
    EXPECT_EQ(table.Find("urn:cam"), nullptr);
    ASSERT_EQ(table.Entries().size(), 1u);
    EXPECT_EQ(table.Entries()[0]->target.address, "urn:other");
}

TEST(WsdDeviceTableBoundsTest, AFloodOfEndpointsStopsAtTheBound) {
    DeviceTable table({.maxEndpoints = 50, .recentMessageIds = 200, .ownProbes = 4});
    table.AddOwnProbe(kOurProbe);
    std::size_t refused = 0;
    for (int i = 0; i < 500; ++i) {
        const std::string n = std::to_string(i);
        refused +=
            table.Apply(Answer("uuid:f" + n, "urn:fake-" + n, "http://192.0.2.1/"), "lan").refused;
    }
    EXPECT_EQ(table.Size(), 50u);
    EXPECT_EQ(refused, 450u);
    // The devices found first stay and still take answers; a Bye makes room for a new one.
    EXPECT_EQ(table.Apply(Answer("uuid:u", "urn:fake-0", "http://192.0.2.2/"), "lan").updated, 1u);
    table.Apply(Announcement("Bye", "uuid:bye", "urn:fake-1"), "lan");
    EXPECT_EQ(table.Apply(Announcement("Hello", "uuid:new", "urn:new"), "lan").added, 1u);
    const auto entries = table.Entries();
    EXPECT_EQ(entries.front()->target.address, "urn:fake-0");
    EXPECT_EQ(entries.back()->target.address, "urn:new");
}

TEST(WsdDeviceTableBoundsTest, EndpointsThatFillWholeDatagramsStopAtTheTextBound) {
    DeviceTable table({.maxEndpoints = 1000, .maxBytes = 70000});
    table.AddOwnProbe(kOurProbe);
    // About 20 kB of addresses per endpoint, each address within the text bound.
    const auto addresses = [](int count) {
        std::string list;
        for (int i = 0; i < count; ++i) {
            list += " http://" + std::string(990, 'x') + std::to_string(i);
        }
        return list;
    };
    std::size_t added = 0;
    for (int i = 0; i < 50; ++i) {
        const std::string n = std::to_string(i);
        added += table.Apply(Answer("uuid:f" + n, "urn:fat-" + n, addresses(20)), "lan").added;
    }
    EXPECT_EQ(added, 3u);
    EXPECT_LE(table.Bytes(), 70000u);
    // An update that would grow past the bound is refused too; a Bye gives the room back.
    EXPECT_EQ(table.Apply(Answer("uuid:g", "urn:fat-0", addresses(28)), "lan").refused, 1u);
    table.Apply(Announcement("Bye", "uuid:bye", "urn:fat-0"), "lan");
    EXPECT_EQ(table.Apply(Answer("uuid:n", "urn:fat-new", addresses(20)), "lan").added, 1u);
}

// Texts of one letter each take little, the objects that hold them much more.
TEST(WsdDeviceTableBoundsTest, EndpointsOfManyShortItemsStopAtTheBoundOfWhatTheyTake) {
    DeviceTable table({.maxEndpoints = 1000, .maxBytes = 100000});
    table.AddOwnProbe(kOurProbe);
    std::string letters;
    for (int i = 0; i < 32; ++i) {
        letters += std::string(letters.empty() ? "" : " ") + static_cast<char>('A' + i);
    }
    for (int i = 0; i < 200; ++i) {
        const std::string n = std::to_string(i);
        table.Apply(Answer("uuid:f" + n, "urn:short-" + n, letters), "lan");
    }
    ASSERT_GT(table.Size(), 0u);
    EXPECT_LE(table.Size() * 32 * sizeof(std::string), 100000u);
}

// The probe's MessageID is multicast: any host can answer it, but one host adds only so many.
TEST(WsdDeviceTableBoundsTest, OneSendingAddressAddsOnlyItsShareOfEndpoints) {
    DeviceTable table({.maxEndpoints = 100, .maxEndpointsPerSender = 3});
    table.AddOwnProbe(kOurProbe);
    const auto add = [&](const std::string& endpoint, std::uint32_t sender) {
        return table.Apply(Answer("uuid:" + endpoint, endpoint, "http://192.0.2.1/"), "lan", sender)
            .added;
    };
    for (int i = 0; i < 5; ++i) {
        add("urn:forged-" + std::to_string(i), 1);
    }
    EXPECT_EQ(table.Size(), 3u);
    EXPECT_EQ(add("urn:real", 2), 1u);
    table.Apply(Announcement("Bye", "uuid:bye", "urn:forged-0"), "lan", 1);
    EXPECT_EQ(add("urn:forged-again", 1), 1u);
}

TEST(WsdDeviceTableBoundsTest, TheOldestIdentifiersAreForgottenFirst) {
    RecentIds ids(3);
    for (const char* id : {"a", "b", "c", "d"}) {
        EXPECT_TRUE(ids.Insert(id));
    }
    EXPECT_EQ(ids.Size(), 3u);
    EXPECT_FALSE(ids.Contains("a"));
    EXPECT_FALSE(ids.Insert("d"));
    EXPECT_TRUE(ids.Insert("a"));

    // Only the last probes of ours are answered.
    DeviceTable table({.maxEndpoints = 10, .recentMessageIds = 10, .ownProbes = 2});
    for (const char* probe : {"urn:p1", "urn:p2", "urn:p3"}) {
        table.AddOwnProbe(probe);
    }
    EXPECT_EQ(
        table.Apply(Answer("uuid:1", "urn:cam", "http://192.0.2.1/", "urn:p1"), "lan").disposition,
        DeviceTable::Disposition::Foreign);
    EXPECT_EQ(table.Apply(Answer("uuid:2", "urn:cam", "http://192.0.2.1/", "urn:p2"), "lan").added,
              1u);
}

} // namespace
} // namespace vanmoor::wsd::test

#include "DeviceList.h"
#include "FakeLibrary.h"
#include "RowFindings.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrun::test {
namespace {

std::vector<std::u16string> Column(const DeviceList& list, int column) {
    std::vector<std::u16string> cells;
    for (const auto& row : list.Rows()) {
        cells.push_back(row[static_cast<std::size_t>(column)]);
    }
    return cells;
}

TEST(DeviceList, RowsCarryTheDeviceNumberTheDecodedNameAndTheAddress) {
    DeviceList list;
    list.AddDeviceRow(0, std::string_view("Cam\xC3\xA9ra\0junk", 12), "192.000.002.010");
    list.AddDeviceRow(9, std::string(30, 'n') + "beyond the buffer", "010.000.000.001");
    ASSERT_EQ(list.Rows().size(), 2u);
    EXPECT_EQ(list.Rows()[0], (DeviceList::Row{u"1", u"Cam\u00e9ra", u"192.000.002.010"}));
    EXPECT_EQ(list.Rows()[1],
              (DeviceList::Row{u"10", std::u16string(30, u'n'), u"010.000.000.001"}));
    EXPECT_EQ(list.DeviceNumber(1), 10);
    EXPECT_EQ(list.DeviceNumber(2), 0);
}

// Rows 1 to 11 so that number order and text order differ ("10" < "9" as text).
DeviceList ElevenRows() {
    DeviceList list;
    for (int index = 0; index < 11; ++index) {
        list.AddDeviceRow(index, "cam", "192.168.001.001");
    }
    return list;
}

TEST(DeviceList, NumberColumnSortsByValueFirstGreatestOnTopThenSmallest) {
    DeviceList list = ElevenRows();
    list.SortByColumn(0);
    EXPECT_EQ(list.Rows().front()[0], u"11");
    EXPECT_EQ(list.Rows()[1][0], u"10");
    EXPECT_EQ(list.Rows()[2][0], u"9");
    EXPECT_EQ(list.Rows().back()[0], u"1");
    list.SortByColumn(0);
    EXPECT_EQ(list.Rows().front()[0], u"1");
    EXPECT_EQ(list.Rows()[9][0], u"10");
    EXPECT_EQ(list.Rows().back()[0], u"11");
}

TEST(DeviceList, NameColumnComparesUtf16UnitsCaseSensitively) {
    DeviceList list;
    list.AddDeviceRow(0, "beta", "192.168.001.001");
    list.AddDeviceRow(1, "Zulu", "192.168.001.002");
    list.AddDeviceRow(2, "\xC3\xA9t\xC3\xA9", "192.168.001.003"); // U+00E9 sorts after ASCII
    list.AddDeviceRow(3, "alpha", "192.168.001.004");
    list.SortByColumn(1);
    EXPECT_EQ(Column(list, 1),
              (std::vector<std::u16string>{u"\u00e9t\u00e9", u"beta", u"alpha", u"Zulu"}));
    list.SortByColumn(1);
    EXPECT_EQ(Column(list, 1),
              (std::vector<std::u16string>{u"Zulu", u"alpha", u"beta", u"\u00e9t\u00e9"}));
}

TEST(DeviceList, AddressColumnSortsThreeDigitOctetsInNumericOrder) {
    DeviceList list;
    list.AddDeviceRow(0, "a", "192.168.001.010");
    list.AddDeviceRow(1, "b", "010.000.000.001");
    list.AddDeviceRow(2, "c", "192.168.001.009");
    list.SortByColumn(2);
    EXPECT_EQ(Column(list, 2), (std::vector<std::u16string>{u"192.168.001.010", u"192.168.001.009",
                                                            u"010.000.000.001"}));
    list.SortByColumn(2);
    EXPECT_EQ(Column(list, 2), (std::vector<std::u16string>{u"010.000.000.001", u"192.168.001.009",
                                                            u"192.168.001.010"}));
}

TEST(DeviceList, EqualKeysComeOutInTheReverseOfTheirPreviousOrder) {
    DeviceList list;
    list.AddDeviceRow(0, "same", "192.168.001.003");
    list.AddDeviceRow(1, "same", "192.168.001.001");
    list.AddDeviceRow(2, "other", "192.168.001.002");
    list.SortByColumn(1); // greatest name on top
    EXPECT_EQ(Column(list, 0), (std::vector<std::u16string>{u"2", u"1", u"3"}));
    list.SortByColumn(1); // ascending now; the tied rows flip once more
    EXPECT_EQ(Column(list, 0), (std::vector<std::u16string>{u"3", u"1", u"2"}));
}

TEST(DeviceList, EachColumnKeepsItsOwnDirection) {
    DeviceList list;
    list.AddDeviceRow(0, "b", "192.168.001.001");
    list.AddDeviceRow(1, "a", "192.168.001.002");
    list.SortByColumn(1); // name column, first click: greatest on top
    EXPECT_EQ(Column(list, 1), (std::vector<std::u16string>{u"b", u"a"}));
    list.SortByColumn(2); // address column, its own first click: greatest on top
    EXPECT_EQ(Column(list, 2),
              (std::vector<std::u16string>{u"192.168.001.002", u"192.168.001.001"}));
    list.SortByColumn(1); // name column, second click: smallest on top
    EXPECT_EQ(Column(list, 1), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST(DeviceList, OneRowStaysAndTheDirectionStillFlips) {
    DeviceList list;
    list.AddDeviceRow(4, "only", "192.168.001.001");
    list.SortByColumn(1);
    EXPECT_EQ(list.Rows(), (std::vector<DeviceList::Row>{{u"5", u"only", u"192.168.001.001"}}));
    list.AddDeviceRow(0, "another", "192.168.001.002");
    list.SortByColumn(1); // second click on the name column: smallest on top
    EXPECT_EQ(Column(list, 1), (std::vector<std::u16string>{u"another", u"only"}));
}

TEST(DeviceList, OtherColumnsChangeNothing) {
    DeviceList list;
    list.AddDeviceRow(0, "a", "192.168.001.001");
    list.AddDeviceRow(1, "b", "192.168.001.002");
    list.SortByColumn(3);
    list.SortByColumn(-1);
    EXPECT_EQ(Column(list, 0), (std::vector<std::u16string>{u"1", u"2"}));
}

// The library lists a device whose details it can no longer give: its row has no finding and
// the rows after it keep their own.
TEST(RowFindings, FindingsStayWithTheirRowsWhenARowsDeviceCannotBeRead) {
    FakeLibrary fake;
    const Ipv4Octets mask{255, 255, 255, 0};
    fake.devices = {
        FakeDevice{
            .name = "Gone", .ip = {192, 0, 2, 30}, .mac = {2, 0, 0, 0, 0, 1}, .missing = true},
        FakeDevice{
            .name = "Fine", .ip = {192, 0, 2, 31}, .netmask = mask, .mac = {2, 0, 0, 0, 0, 2}},
        FakeDevice{.name = "Away",
                   .ip = {192, 0, 2, 32},
                   .netmask = mask,
                   .gateway = {10, 0, 0, 1},
                   .mac = {2, 0, 0, 0, 0, 3}}};
    DeviceList list;
    for (int index = 0; index < 3; ++index) {
        list.AddDeviceRow(index, "cam", "192.000.002.030");
    }
    const std::vector<RowFinding> rows = FindRowProblems(fake.Api(), list, ExtraTextTable{});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].text.empty());
    EXPECT_FALSE(rows[1].error);
    EXPECT_TRUE(rows[1].text.empty());
    EXPECT_TRUE(rows[2].error);
    EXPECT_EQ(rows[2].text, u"bad settings: gateway 10.0.0.1 is outside 192.0.2.0/24");
}

} // namespace
} // namespace kestrun::test

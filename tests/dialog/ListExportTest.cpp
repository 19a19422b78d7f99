#include "ListExport.h"

#include "CsvRows.h"
#include "FakeLibrary.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace kestrun::test {
namespace {

using vanmoor::listing::MainDeviceKeys;

// A name as anyone on the LAN could send it: a formula, a comma, quotes, a line break and a
// byte that is not UTF-8.
const std::string kHostileName = "=cmd,\"a\"\nb\xff";
const std::string kHostileNameAsUtf8 = "=cmd,\"a\"\nb\xEF\xBF\xBD";

class ListExportTest : public testing::Test {
protected:
    void SetUp() override {
        FakeDevice hostile;
        hostile.name = kHostileName;
        hostile.ip = {192, 0, 2, 30};
        hostile.netmask = {255, 255, 255, 0};
        hostile.gateway = {192, 0, 2, 1};
        hostile.mac = {0x02, 0x00, 0x5e, 0x00, 0x01, 0x02};
        hostile.port = 8080;
        hostile.dhcp = true;
        hostile.protocol = 1;
        hostile.version = "V3.2";
        hostile.model = "M200";
        FakeDevice plain;
        plain.name = "Alpha";
        plain.ip = {192, 0, 2, 10};
        plain.mac = {0x02, 0x00, 0x5e, 0x00, 0x01, 0x01};
        plain.port = 80;
        plain.version = "V1.0";
        plain.model = "M100";
        FakeDevice gone = plain;
        gone.missing = true;
        m_Fake.devices = {hostile, plain, gone};
        for (int index = 0; index < 3; ++index) {
            m_List.AddDeviceRow(index, index == 1 ? "Alpha" : "=cmd", "192.000.002.010");
        }
        // The name column, greatest first: Alpha (library index 1) moves to the top.
        m_List.SortByColumn(1);
    }

    // What the command line's printer writes for the listed devices, given field by field.
    static std::string PrinterOutput(OutputFormat format, const std::vector<FakeDevice>& fakes) {
        std::ostringstream out;
        auto printer = vanmoor::listing::MakePrinter(format, out);
        printer->Begin("devices", MainDeviceKeys());
        for (const FakeDevice& fake : fakes) {
            DeviceInfo device;
            device.mac = fake.mac;
            device.ip = fake.ip;
            device.netmask = fake.netmask;
            device.gateway = fake.gateway;
            device.port = fake.port;
            device.dhcp = fake.dhcp;
            device.name = fake.name;
            device.protocol = fake.protocol != 0 ? 32970 : 4022;
            device.version = fake.version;
            device.model = fake.model;
            printer->Row(SelectFields(vanmoor::listing::DeviceRecord(device), MainDeviceKeys()));
        }
        printer->End();
        return out.str();
    }

    std::string Export(OutputFormat format) const {
        std::ostringstream out;
        WriteListExport(ReadListedDevices(m_Fake.Api(), m_List), format, out);
        return out.str();
    }

    FakeLibrary m_Fake;
    DeviceList m_List;
};

TEST_F(ListExportTest, CsvHoldsTheListedDevicesInRowOrderAsTheCommandLineWritesThem) {
    ASSERT_EQ(m_List.DeviceNumber(0), 2);
    const std::string csv = Export(OutputFormat::Csv);
    EXPECT_EQ(csv, PrinterOutput(OutputFormat::Csv, {m_Fake.devices[1], m_Fake.devices[0]}));

    const auto rows = vanmoor::test::ParseCsv(csv);
    ASSERT_EQ(rows.size(), 3u) << csv; // the device the library no longer lists is left out
    EXPECT_EQ(rows[0], MainDeviceKeys());
    EXPECT_EQ(rows[1][0], "02:00:5e:00:01:01");
    EXPECT_EQ(rows[2][0], "02:00:5e:00:01:02");
    // Quoted for spreadsheets; comma, quotes and line break survive the CSV quoting.
    EXPECT_EQ(rows[2][6], "'" + kHostileNameAsUtf8);
    EXPECT_EQ(rows[2][3], "192.0.2.1");
    EXPECT_EQ(rows[2][7], "32970");
    EXPECT_EQ(rows[1][8], "V1.0");
    EXPECT_EQ(rows[1][10], "");
}

TEST_F(ListExportTest, JsonHoldsTheListedDevicesInRowOrderAsTheCommandLineWritesThem) {
    const std::string json = Export(OutputFormat::Json);
    EXPECT_EQ(json, PrinterOutput(OutputFormat::Json, {m_Fake.devices[1], m_Fake.devices[0]}));

    const nlohmann::json devices = nlohmann::json::parse(json).at("devices");
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].at("model"), "M100");
    const nlohmann::json& hostile = devices[1];
    EXPECT_EQ(hostile.at("name"), kHostileNameAsUtf8);
    EXPECT_EQ(hostile.at("mac"), "02:00:5e:00:01:02");
    EXPECT_EQ(hostile.at("port"), 8080);
    EXPECT_EQ(hostile.at("dhcp"), true);
    EXPECT_EQ(hostile.at("version"), "V3.2");
    // The dialog cannot tell through which local address a device answered.
    EXPECT_TRUE(hostile.at("local_address").is_null());
}

TEST(ListExportFormat, TheFileNamesExtensionWinsOverTheChosenFilter) {
    EXPECT_EQ(ExportFormatFor("list.JSON", OutputFormat::Csv), OutputFormat::Json);
    EXPECT_EQ(ExportFormatFor("/tmp/list.csv", OutputFormat::Json), OutputFormat::Csv);
    EXPECT_EQ(ExportFormatFor("/tmp/a.csv/list", OutputFormat::Json), OutputFormat::Json);
    EXPECT_EQ(ExportFormatFor("list.txt", OutputFormat::Csv), OutputFormat::Csv);
}

} // namespace
} // namespace kestrun::test

#include "CliRun.h"
#include "TestNetwork.h"

namespace vanmoor::cli::test {
namespace {

class LookupTest : public CliTest {
protected:
    void SetUp() override {
        StartDevices(1, {Device("protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10 port=8080 "
                                "name=Door brand=Acme camera=Porch"),
                         Device("protocol=4022 mac=02:00:5e:00:01:02 ip=192.0.2.11 "
                                "port=70000 name=Odd")});
    }
};

TEST_F(LookupTest, ShowGivesEveryFieldOfTheDeviceNamedByItsMacInEitherSpelling) {
    const CliResult result =
        RunProgram({"show", "02-00-5E-00-01-01", "--output", "json", "--wait", "1000"});
    ASSERT_EQ(result.status, 0) << result.err;
    const nlohmann::json device = nlohmann::json::parse(result.out).at("devices").at(0);
    EXPECT_EQ(device.at("mac"), "02:00:5e:00:01:01");
    EXPECT_EQ(device.at("brand"), "Acme");
    EXPECT_EQ(device.at("camera_name"), "Porch");
    EXPECT_EQ(device.at("port"), 8080);
}

TEST_F(LookupTest, OpenPrintsTheWebAddressOnlyForAPortInRange) {
    const CliResult page = RunProgram({"open", "02:00:5e:00:01:01", "--print", "--wait", "1000"});
    ASSERT_EQ(page.status, 0) << page.err;
    EXPECT_EQ(page.out, "http://192.0.2.10:8080\n");

    const CliResult odd = RunProgram({"open", "02:00:5e:00:01:02", "--print", "--wait", "1000"});
    EXPECT_EQ(odd.status, 1);
    EXPECT_EQ(odd.out, "");
}

TEST_F(LookupTest, InterfacesNameTheLibrarysAddressesWithTheirPrefix) {
    const CliResult result = RunProgram({"interfaces", "--output", "csv"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto& addresses = vanmoor::test::TestNetwork::Get().pcAddresses;
    EXPECT_EQ(ParseCsv(result.out),
              (std::vector<std::vector<std::string>>{{"name", "address", "prefix_length"},
                                                     {"lan1", addresses.at(0), "24"},
                                                     {"lan2", addresses.at(1), "24"}}));
}

} // namespace
} // namespace vanmoor::cli::test

#include "CliRun.h"

#include "Cli.h"
#include "DeviceConfig.h"
#include "TestNetwork.h"

#include <sstream>

namespace vanmoor::cli::test {

CliResult RunProgram(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const Console console{out, err, false, false, false};
    CliResult result;
    result.status = RunCli(arguments, console);
    result.out = out.str();
    result.err = err.str();
    return result;
}

SimDevice Device(const std::string& description) {
    return devsim::ParseDevice(description);
}

Simulator& CliTest::StartDevices(int lan, std::vector<SimDevice> devices,
                                 devsim::Observer observer) {
    auto simulator = std::make_unique<Simulator>(std::move(devices), std::move(observer));
    vanmoor::test::RunInLan(lan, [&] { simulator->Start(); });
    simulators.push_back(std::move(simulator));
    return *simulators.back();
}

std::size_t CliTest::CommandsReceived(const Simulator& simulator) {
    std::size_t commands = 0;
    for (const auto& datagram : simulator.Datagrams()) {
        commands += datagram.kind == devsim::DatagramKind::SettingsCommand ? 1 : 0;
    }
    return commands;
}

CliResult CliTest::Scan(std::vector<std::string> options) {
    options.insert(options.begin(), "scan");
    options.insert(options.end(), {"--wait", "1000"});
    return RunProgram(options);
}

nlohmann::json CliTest::ScanJson(std::vector<std::string> options) {
    options.insert(options.end(), {"--output", "json"});
    const CliResult result = Scan(options);
    EXPECT_EQ(result.status, 0) << result.err;
    return nlohmann::json::parse(result.out);
}

} // namespace vanmoor::cli::test

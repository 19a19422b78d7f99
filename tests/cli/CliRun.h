#pragma once

#include "CsvRows.h"
#include "LogDirectory.h"
#include "Simulator.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

namespace vanmoor::cli::test {

using devsim::SimDevice;
using devsim::Simulator;

// What one run of the program gave.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the program in-process, its standard streams captured and none of them a terminal.
CliResult RunProgram(const std::vector<std::string>& arguments);

// A device described as vanmoor-devsim's configuration lines describe one.
SimDevice Device(const std::string& description);

using vanmoor::test::ParseCsv;

// The program against simulated devices in the lans of the test network. The library's log
// stays off (an empty log directory).
class CliTest : public testing::Test {
protected:
    // Starts a simulator with `devices` in lan `lan`; `observer` sees what it receives.
    Simulator& StartDevices(int lan, std::vector<SimDevice> devices,
                            devsim::Observer observer = {});
    // The settings commands a simulator received.
    static std::size_t CommandsReceived(const Simulator& simulator);

    test::CliResult Scan(std::vector<std::string> options);
    // `scan --output json`, parsed; fails the test when the output is not valid JSON.
    nlohmann::json ScanJson(std::vector<std::string> options = {});

    vanmoor::test::LogDirectory logs;
    std::vector<std::unique_ptr<Simulator>> simulators;
};

} // namespace vanmoor::cli::test

#include "LibraryDatagrams.h"
#include "ProgramInLan.h"
#include "SimulatorInLan.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

namespace vanmoor::devsim::test {
namespace {

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(DevsimProgram, AnswersObeysCapturesAndEndsOnSigterm) {
    char directory[] = "/tmp/devsim-program-XXXXXX";
    ASSERT_NE(mkdtemp(directory), nullptr);
    const std::string config = std::string(directory) + "/devices.conf";
    const std::string capture = std::string(directory) + "/capture.txt";
    std::ofstream(config) << "# one camera\n"
                             "mac=02:00:5e:00:02:01 ip=192.0.2.20 name=\"Lobby cam\" port=8080\n";
    vanmoor::test::ProgramInLan program(
        1, VANMOOR_DEVSIM_PROGRAM,
        {"--config", config, "--capture", capture, "--ready", "--verbose"});
    ASSERT_EQ(program.ReadLine(kPatience).rfind("vanmoor-devsim ready", 0), 0u);
    auto probe = ProbeOnLan1(4022);

    std::vector<Arrival> replies = Search(*probe, 4022, 1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(Field(replies[0].bytes, 32, 18), Padded("Lobby cam", 18));
    EXPECT_EQ(Field(replies[0].bytes, 50, 5), Padded("8080", 5));

    Command4022 rename;
    rename.mac = {0x02, 0x00, 0x5e, 0x00, 0x02, 0x01};
    rename.ip = {192, 0, 2, 20};
    rename.netmask = {255, 255, 255, 0};
    rename.name = "Hall cam";
    probe->Broadcast(SettingsCommand4022(rename), 4022);
    replies = Search(*probe, 4022, 1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(Field(replies[0].bytes, 32, 18), Padded("Hall cam", 18));

    EXPECT_EQ(program.Terminate(), 0);
    const std::vector<std::string> lines = ReadLines(capture);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(" 192.0.2.1:4022 > 4022 search 72 50434564697402"), std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find(" command 74 "), std::string::npos) << lines[1];
    std::remove(capture.c_str());
    std::remove(config.c_str());
    rmdir(directory);
}

TEST(DevsimProgram, CapturesWebServiceRequests) {
    char directory[] = "/tmp/devsim-program-XXXXXX";
    ASSERT_NE(mkdtemp(directory), nullptr);
    const std::string capture = std::string(directory) + "/capture.txt";
    vanmoor::test::ProgramInLan program(
        1, VANMOOR_DEVSIM_PROGRAM,
        {"--device", "protocol=3702 mac=02:00:5e:00:02:02 ip=192.0.2.21 service=on", "--capture",
         capture, "--ready"});
    ASSERT_EQ(program.ReadLine(kPatience).rfind("vanmoor-devsim ready", 0), 0u);

    httplib::Client client("192.0.2.21", 80);
    const auto answer = client.Post(
        "/onvif/device_service",
        "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body><tds:GetHostname "
        "xmlns:tds=\"http://www.onvif.org/ver10/device/wsdl\"/></s:Body></s:Envelope>",
        "application/soap+xml; charset=utf-8");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 401);

    EXPECT_EQ(program.Terminate(), 0);
    const std::vector<std::string> lines = ReadLines(capture);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(" 192.0.2.1 > device 0 GetHostname login none refused"),
              std::string::npos)
        << lines[0];
    std::remove(capture.c_str());
    rmdir(directory);
}

} // namespace
} // namespace vanmoor::devsim::test

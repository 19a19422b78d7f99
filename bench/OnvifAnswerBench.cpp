// Reads a camera's seven answers as DeviceClient::Read does, and the largest hostile answers a
// camera may send (1 MiB of interfaces, of scopes). Prints the read time of each and the
// process's peak memory after them. No sockets.
#include "AnswerReader.h"
#include "CameraAnswers.h"
#include "DeviceAnswers.h"
#include "DnsAnswer.h"
#include "InterfacesAnswer.h"
#include "ScopesAnswer.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using namespace vanmoor::onvif;
using Clock = std::chrono::steady_clock;

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The best of `rounds` runs of `work`, in microseconds.
double BestMicroseconds(int rounds, const std::function<void()>& work) {
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        const auto start = Clock::now();
        work();
        best =
            std::min(best, std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return best;
}

// `item` repeated to just under the answer bound, inside `response`.
std::string Flood(std::string_view response, std::string_view item) {
    const std::string open = "<tds:" + std::string(response) + ">";
    const std::string close = "</tds:" + std::string(response) + ">";
    std::string body;
    const std::size_t room = kMaxAnswerBytes - test::Envelope(open + close).size();
    while (body.size() + item.size() <= room) {
        body += item;
    }
    return test::Envelope(open + body + close);
}

} // namespace

int main() {
    const std::string answers[] = {test::DeviceInformationAnswer(),
                                   test::NetworkInterfacesAnswer(),
                                   test::DefaultGatewayAnswer(),
                                   test::DnsAnswer(),
                                   test::HostnameAnswer(),
                                   test::NetworkProtocolsAnswer(),
                                   test::ScopesAnswer()};
    const long startKilobytes = PeakKilobytes();
    CameraSettings read;
    const double camera = BestMicroseconds(200, [&] {
        read = {};
        ReadDeviceInformation(answers[0], read);
        ReadNetworkInterfaces(answers[1], std::nullopt, read);
        ReadDefaultGateway(answers[2], read);
        ReadDns(answers[3], read);
        ReadHostname(answers[4], read);
        ReadNetworkProtocols(answers[5], read);
        ReadScopes(answers[6], read);
    });
    std::printf("one camera's seven answers: %.1f us (best of 200)\n", camera);

    const std::string interfaces =
        Flood("GetNetworkInterfacesResponse",
              "<tds:NetworkInterfaces token=\"x\"><tt:Enabled>false</tt:Enabled>"
              "</tds:NetworkInterfaces>");
    const std::string scopes =
        Flood("GetScopesResponse", "<tds:Scopes><tt:ScopeDef>Configurable</tt:ScopeDef>"
                                   "<tt:ScopeItem>urn:x</tt:ScopeItem></tds:Scopes>");
    std::string problem;
    const double interfaceTime = BestMicroseconds(5, [&] {
        CameraSettings into;
        problem = ReadNetworkInterfaces(interfaces, std::nullopt, into);
    });
    std::printf("1 MiB of interfaces (%zu bytes): %.0f us, %s\n", interfaces.size(), interfaceTime,
                problem.empty() ? "read within the bound" : problem.c_str());
    const double scopeTime = BestMicroseconds(5, [&] {
        CameraSettings into;
        problem = ReadScopes(scopes, into);
    });
    std::printf("1 MiB of scopes (%zu bytes): %.0f us, %s\n", scopes.size(), scopeTime,
                problem.c_str());
    std::printf("peak memory: %ld KiB at the start, %ld KiB after the largest answers\n",
                startKilobytes, PeakKilobytes());
    return read.name ? 0 : 1;
}

// The HTTP transport against hostile answers of the scripted web server (tests/onvif), in the
// test network: how long it takes to give up on a 50 MiB body, an endless one, a server that
// never answers and one that drips a byte every 100 ms, and how much the process's peak
// resident memory grew meanwhile. The figures a camera's worst answer costs.
#include "HttpTransport.h"
#include "ProgramInLan.h"
#include "TestNetwork.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace std::chrono_literals;
using vanmoor::onvif::HttpFailure;

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

const char* Name(HttpFailure failure) {
    switch (failure) {
    case HttpFailure::None:
        return "answered";
    case HttpFailure::TooLarge:
        return "too large";
    case HttpFailure::Timeout:
        return "time limit";
    default:
        return "other failure";
    }
}

} // namespace

int main() {
    std::string why;
    if (!vanmoor::test::InsideTestNetwork(why)) {
        std::fprintf(stderr, "Refusing to run outside the private test network (%s).\n",
                     why.c_str());
        return 1;
    }
    vanmoor::test::ProgramInLan server(1, VANMOOR_SCRIPTED_HTTP_SERVER,
                                       {VANMOOR_TEST_CERTIFICATE, VANMOOR_TEST_KEY});
    if (server.ReadLine(10s) != "ready") {
        std::fprintf(stderr, "the scripted server did not start\n");
        return 1;
    }
    const std::string base =
        "http://" + vanmoor::test::TestNetwork::Get().lanAddresses.at(0) + ":8080";
    auto transport = vanmoor::onvif::MakeHttpTransport({});
    vanmoor::onvif::HttpLimits limits; // the defaults: 1 MiB, 10 s in all
    limits.total = 2s;
    std::printf("limits: body %zu KiB, total %lld ms\n", limits.maxBodyBytes / 1024,
                static_cast<long long>(limits.total.count()));
    const auto measure = [&](const char* path) {
        const long before = PeakResidentKiB();
        const auto start = std::chrono::steady_clock::now();
        const auto result =
            transport->Post({base + path, "application/soap+xml", "<x/>", {}}, limits);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        std::printf("%-9s %-13s after %5lld ms, peak resident memory +%ld KiB\n", path,
                    Name(result.failure), static_cast<long long>(elapsed.count()),
                    PeakResidentKiB() - before);
    };
    for (const char* path : {"/echo", "/large", "/endless", "/silent", "/drip"}) {
        measure(path);
    }
    // What the 50 MiB body would cost a reader without the bound.
    limits.maxBodyBytes = 64 * 1024 * 1024;
    limits.total = 30s;
    std::printf("limits: body %zu KiB, total %lld ms\n", limits.maxBodyBytes / 1024,
                static_cast<long long>(limits.total.count()));
    measure("/large");
    return 0;
}

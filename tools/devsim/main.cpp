#include "AddressText.h"
#include "CaptureLine.h"
#include "ProgramOptions.h"
#include "Simulator.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>
#include <pthread.h>

using namespace vanmoor::devsim;

namespace {

// Closes the capture file unless it is standard output.
struct CaptureCloser {
    void operator()(std::FILE* file) const {
        if (file != stdout) {
            std::fclose(file);
        }
    }
};
using CaptureFile = std::unique_ptr<std::FILE, CaptureCloser>;

CaptureFile OpenCapture(const std::string& path) {
    if (path.empty()) {
        return nullptr;
    }
    if (path == "-") {
        return CaptureFile(stdout);
    }
    CaptureFile file(std::fopen(path.c_str(), "w"));
    if (!file) {
        throw std::invalid_argument(path + ": cannot write the capture file");
    }
    return file;
}

void LogDatagram(const ReceivedDatagram& datagram) {
    std::fprintf(stderr, "vanmoor-devsim: %s of %zu bytes from %s:%u on port %u, %zu replies\n",
                 DatagramKindName(datagram.kind), datagram.bytes.size(),
                 FormatIpv4(datagram.sourceAddress).c_str(), datagram.sourcePort,
                 PortNumber(datagram.protocol), datagram.repliesScheduled);
}

void LogCommand(const CommandEvent& event, const Simulator& simulator) {
    if (!event.device) {
        std::fprintf(stderr, "vanmoor-devsim: command for %s on port %u: %s\n",
                     FormatMac(event.target).c_str(), PortNumber(event.protocol),
                     CommandOutcomeName(event.outcome));
        return;
    }
    const SimDevice device = simulator.Device(*event.device);
    std::fprintf(stderr,
                 "vanmoor-devsim: command for %s on port %u: %s by device %zu, now ip %s "
                 "netmask %s gateway %s dns %s %s port %d dhcp %d name \"%s\"\n",
                 FormatMac(event.target).c_str(), PortNumber(event.protocol),
                 CommandOutcomeName(event.outcome), *event.device, FormatIpv4(device.ip).c_str(),
                 FormatIpv4(device.netmask).c_str(), FormatIpv4(device.gateway).c_str(),
                 FormatIpv4(device.dns1).c_str(), FormatIpv4(device.dns2).c_str(), device.webPort,
                 device.dhcp ? 1 : 0, device.name.c_str());
}

// Waits for SIGINT or SIGTERM (blocked in every thread), or until the duration is over.
void WaitForEnd(const ProgramOptions& options, const sigset_t& endSignals) {
    if (!options.duration) {
        int signal = 0;
        sigwait(&endSignals, &signal);
        return;
    }
    const auto millis = options.duration->count();
    timespec timeout{static_cast<std::time_t>(millis / 1000),
                     static_cast<long>(millis % 1000) * 1'000'000};
    while (sigtimedwait(&endSignals, nullptr, &timeout) < 0 && errno == EINTR) {
        // Interrupted by an unrelated signal: Linux does not shorten the timeout, so the
        // duration is at worst extended, never cut.
    }
}

int Run(const ProgramOptions& options, const sigset_t& endSignals) {
    const CaptureFile capture = OpenCapture(options.capturePath);
    const Clock::time_point start = Clock::now();
    const Simulator* observed = nullptr; // set before the simulator can call back
    Observer observer;
    observer.onDatagram = [&](const ReceivedDatagram& datagram) {
        if (capture) {
            std::fprintf(capture.get(), "%s\n", CaptureLine(datagram, start).c_str());
            std::fflush(capture.get());
        }
        if (options.verbose) {
            LogDatagram(datagram);
        }
    };
    observer.onServiceRequest = [&](const ServiceRequest& request) {
        if (capture) {
            std::fprintf(capture.get(), "%s\n", CaptureLine(request, start).c_str());
            std::fflush(capture.get());
        }
        if (options.verbose) {
            std::fprintf(stderr, "vanmoor-devsim: web service %s\n",
                         CaptureLine(request, start).c_str());
        }
    };
    if (options.verbose) {
        observer.onCommand = [&](const CommandEvent& event) { LogCommand(event, *observed); };
    }
    Simulator simulator(options.devices, std::move(observer));
    observed = &simulator;
    simulator.SetReplyPlan(options.plan);
    simulator.Start();
    if (options.ready) {
        const bool wsd = std::any_of(options.devices.begin(), options.devices.end(),
                                     [](const SimDevice& device) { return device.wsd.enabled; });
        std::printf("vanmoor-devsim ready: %zu devices on UDP ports 4022%s\n",
                    simulator.DeviceCount(), wsd ? ", 32970 and 3702" : " and 32970");
        std::fflush(stdout);
    }
    WaitForEnd(options, endSignals);
    simulator.Stop();
    if (options.verbose) {
        const ReplyCounters counters = simulator.Counters();
        std::fprintf(stderr, "vanmoor-devsim: %llu replies sent, %llu failed (last error %d)\n",
                     static_cast<unsigned long long>(counters.sent),
                     static_cast<unsigned long long>(counters.failed), counters.lastError);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Blocked before any thread starts, so that only the wait in WaitForEnd takes them.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);
    try {
        const ProgramOptions options = ParseProgramOptions(argc, argv);
        if (options.help) {
            std::fputs(UsageText(), stdout);
            return 0;
        }
        if (options.version) {
            std::puts("vanmoor-devsim " VANMOOR_VERSION);
            return 0;
        }
        return Run(options, endSignals);
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "vanmoor-devsim: %s\nTry vanmoor-devsim --help.\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vanmoor-devsim: %s\n", error.what());
        return 1;
    }
}

#include "CameraBatch.h"

#include "DeviceServiceRecord.h"
#include "WsdEndpointWatch.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace vanmoor::commission {

namespace {

constexpr int kMostAtOnce = 64;

bool IsCamera(const SiteDevice& device) {
    return !device.SpeaksDeviceProtocol();
}

// Runs `work(index, state)` for each index below `count` on up to `concurrency` threads, each
// with its own state from `makeState` (a transport serves one thread at a time); `state` is null
// where it could not be made, and the work still reports each of its devices.
template <typename MakeState, typename Work>
void RunBounded(std::size_t count, int concurrency, const MakeState& makeState, const Work& work) {
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        decltype(makeState()) state;
        try {
            state = makeState();
        } catch (const std::exception&) {
            state = nullptr;
        }
        for (std::size_t index = next++; index < count; index = next++) {
            work(index, state.get());
        }
    };
    const auto threads = std::min<std::size_t>(
        count, static_cast<std::size_t>(std::clamp(concurrency, 1, kMostAtOnce)));
    std::vector<std::thread> running;
    for (std::size_t i = 0; i < threads; ++i) {
        running.emplace_back(worker);
    }
    for (std::thread& thread : running) {
        thread.join();
    }
}

// What one thread changes cameras with: its own transport, and its own watch, listening before
// its first change so that no Hello is missed.
WsdEndpointWatch::Options WatchOptions(const CameraBatchOptions& options) {
    WsdEndpointWatch::Options watch;
    watch.localAddresses = options.watchAddresses;
    return watch;
}

struct CameraWorker {
    explicit CameraWorker(const CameraBatchOptions& options)
        : transport(onvif::MakeHttpTransport(options.transport)), watch(WatchOptions(options)) {}

    std::unique_ptr<HttpTransport> transport;
    WsdEndpointWatch watch;
};

// The settings a plan gives a camera: a fixed address always, the rest only where it differs
// from what the camera told, since a value given that the camera cannot show (a DNS server it
// has none of) would never verify.
SettingsChange PlannedChange(const PlannedDevice& planned) {
    const SiteDevice& now = planned.device;
    SettingsChange change;
    change.address = planned.ip;
    change.netmask = planned.netmask;
    change.dhcp = false;
    const auto changed = [](std::optional<Ipv4Octets>& field, const Ipv4Octets& wanted,
                            const Ipv4Octets& held) {
        if (wanted != held) {
            field = wanted;
        }
    };
    changed(change.gateway, planned.gateway, now.gateway);
    changed(change.dns1, planned.dns1, now.dns1);
    changed(change.dns2, planned.dns2, now.dns2);
    if (planned.name != now.name) {
        change.name = planned.name;
    }
    return change;
}

AssignResult ResultOf(ChangeVerdict verdict) {
    switch (verdict) {
    case ChangeVerdict::Changed:
    case ChangeVerdict::NothingToChange:
        return AssignResult::Changed;
    case ChangeVerdict::NotSent:
    case ChangeVerdict::LoginRefused:
        return AssignResult::Refused;
    case ChangeVerdict::Failed:
        return AssignResult::FailedToSend;
    case ChangeVerdict::NotConfirmed:
        return AssignResult::NotFound;
    case ChangeVerdict::Kept:
        return AssignResult::Kept;
    }
    return AssignResult::FailedToSend;
}

const CameraRead* ReadOf(const SiteDevice& camera, const std::vector<CameraRead>& reads) {
    const auto found = std::find_if(reads.begin(), reads.end(), [&](const CameraRead& read) {
        return read.end == CameraReadEnd::Read && camera.wsd &&
               read.access.endpoint == camera.wsd->endpoint;
    });
    return found == reads.end() ? nullptr : &*found;
}

void ChangeCamera(AssignOutcome& outcome, const CameraRead* read, HttpTransport& transport,
                  EndpointWatch& watch, const CameraBatchOptions& options) {
    if (!read) {
        outcome.result = AssignResult::FailedToSend;
        outcome.detail = "it was not read through its device service";
        return;
    }
    CameraChange::Options changeOptions;
    changeOptions.wait = options.verifyWait;
    const CameraChangeResult result = CameraChange(transport, watch, changeOptions)
                                          .Apply(read->access, PlannedChange(outcome.planned));
    outcome.result = ResultOf(result.verdict);
    outcome.detail = result.detail;
    outcome.rebooted = result.rebooted;
    outcome.sends = static_cast<int>(result.sent.size());
    if (result.verdict == ChangeVerdict::Changed || result.verdict == ChangeVerdict::Kept) {
        outcome.finalAddress = result.seen.address.value_or(read->access.address);
    } else if (result.verdict == ChangeVerdict::NothingToChange) {
        outcome.finalAddress = read->access.address;
    }
}

} // namespace

std::vector<CameraRead> ReadCameras(std::vector<SiteDevice>& site, const CredentialsBook& book,
                                    const CameraBatchOptions& options,
                                    const ReadProgress& progress) {
    std::vector<std::size_t> tried;
    std::vector<Credentials> credentials;
    for (std::size_t i = 0; i < site.size(); ++i) {
        std::optional<Credentials> own = book.For(site[i]);
        if (site[i].wsd && own && !DeviceServiceUrl(site[i]).empty()) {
            tried.push_back(i);
            credentials.push_back(*std::move(own));
        }
    }
    std::vector<CameraRead> reads(tried.size());
    std::mutex reporting;
    std::size_t done = 0;
    RunBounded(
        tried.size(), options.concurrency,
        [&] { return onvif::MakeHttpTransport(options.transport); },
        [&](std::size_t k, HttpTransport* transport) {
            SiteDevice& camera = site[tried[k]];
            try {
                if (!transport) {
                    throw std::runtime_error("no HTTP transport could be made");
                }
                reads[k] = ReadCamera(*transport, camera, credentials[k]);
            } catch (const std::exception& error) {
                reads[k].end = CameraReadEnd::Unreachable;
                reads[k].detail = error.what();
            }
            const std::lock_guard<std::mutex> lock(reporting);
            if (reads[k].end == CameraReadEnd::Read) {
                site::TakeDeviceServiceRead(camera, reads[k].access.read);
            }
            if (progress) {
                progress(camera, reads[k], ++done, tried.size());
            }
        });
    return reads;
}

std::size_t CamerasWithoutCredentials(const std::vector<SiteDevice>& site,
                                      const CredentialsBook& book) {
    return static_cast<std::size_t>(
        std::count_if(site.begin(), site.end(), [&](const SiteDevice& device) {
            return IsCamera(device) && !DeviceServiceUrl(device).empty() && !book.For(device);
        }));
}

AssignOutcome UnreadOutcome(const SiteDevice& camera, const CameraRead& read) {
    AssignOutcome outcome;
    outcome.planned.device = camera;
    outcome.result =
        read.end == CameraReadEnd::LoginRefused ? AssignResult::Refused : AssignResult::NotFound;
    outcome.detail = read.detail;
    return outcome;
}

std::vector<AssignOutcome> ApplyPlan(DeviceLink& link, const std::vector<PlannedDevice>& plan,
                                     const std::vector<CameraRead>& reads,
                                     const CredentialsBook& book, int retries,
                                     const CameraBatchOptions& options,
                                     const BatchAssign::Progress& progress) {
    std::vector<AssignOutcome> outcomes(plan.size());
    std::vector<std::size_t> cameras;
    std::vector<std::size_t> others;
    std::vector<PlannedDevice> otherPlan;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        outcomes[i].planned = plan[i];
        if (IsCamera(plan[i].device)) {
            cameras.push_back(i);
        } else {
            others.push_back(i);
            otherPlan.push_back(plan[i]);
        }
    }
    std::mutex reporting;
    std::size_t done = 0;
    const auto report = [&](const AssignOutcome& outcome) {
        const std::lock_guard<std::mutex> lock(reporting);
        ++done;
        if (progress) {
            progress(outcome, done, plan.size());
        }
    };

    // The cameras on their own threads, each with its own transport and watch: a camera that
    // restarts or is slow to come back holds up its thread alone.
    std::thread cameraRun([&] {
        RunBounded(
            cameras.size(), options.concurrency,
            [&] { return std::make_unique<CameraWorker>(options); },
            [&](std::size_t k, CameraWorker* worker) {
                AssignOutcome& outcome = outcomes[cameras[k]];
                try {
                    if (!worker) {
                        throw std::runtime_error(
                            "no HTTP transport or WS-Discovery watch could be made");
                    }
                    ChangeCamera(outcome, ReadOf(outcome.planned.device, reads), *worker->transport,
                                 worker->watch, options);
                } catch (const std::exception& error) {
                    outcome.result = AssignResult::FailedToSend;
                    outcome.detail = error.what();
                }
                report(outcome);
            });
    });
    std::exception_ptr failed;
    try {
        const std::vector<AssignOutcome> rounds =
            BatchAssign(link, book, retries)
                .Apply(otherPlan, [&](const AssignOutcome& outcome, std::size_t, std::size_t) {
                    report(outcome);
                });
        for (std::size_t k = 0; k < others.size(); ++k) {
            outcomes[others[k]] = rounds[k];
        }
    } catch (...) {
        failed = std::current_exception();
    }
    cameraRun.join();
    if (failed) {
        std::rethrow_exception(failed);
    }
    return outcomes;
}

} // namespace vanmoor::commission

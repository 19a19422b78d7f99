#include "ServiceHost.h"

#include "OpenFileLimit.h"
#include "WsdMessages.h"

namespace vanmoor::devsim {

namespace {

// Time for an answer to leave before its device moves or reboots.
constexpr std::chrono::milliseconds kAnswerLeaves{200};

// Up to 64 devices keep four workers each. Past that two: with the listening thread, five
// threads a device made a thousand devices five thousand threads; two workers still let a second
// connection in while a client keeps its first one open and idle.
std::size_t WorkersPerServer(std::size_t servers) {
    constexpr std::size_t kFewServers = 64;
    return servers <= kFewServers ? 4 : 2;
}

} // namespace

ServiceHost::ServiceHost(const std::vector<SimDevice>& devices, Hooks hooks)
    : m_Hooks(std::move(hooks)) {
    for (std::size_t index = 0; index < devices.size(); ++index) {
        if (devices[index].service.enabled) {
            m_Hosted.push_back(std::make_unique<Hosted>());
            m_Hosted.back()->index = index;
        }
    }
}

ServiceHost::~ServiceHost() {
    if (m_Worker.joinable()) {
        {
            const std::lock_guard lock(m_Mutex);
            m_Ending = true;
        }
        m_Wake.notify_all();
        m_Worker.join();
    }
    for (const auto& hosted : m_Hosted) {
        hosted->server.reset();
    }
}

void ServiceHost::Start() {
    RaiseOpenFileLimit();
    m_Addresses = std::make_unique<LanAddresses>();
    const std::size_t workers = WorkersPerServer(m_Hosted.size());
    for (const auto& hosted : m_Hosted) {
        const SimDevice device = Read(hosted->index);
        m_Addresses->Add(device.ip);
        hosted->servedAt = device.ip;
        hosted->server =
            std::make_unique<DeviceServer>(hosted->index, hosted->logins, *this, workers);
        hosted->server->Start(device);
    }
    m_Worker = std::thread([this] { Work(); });
}

ServiceHost::Hosted* ServiceHost::Find(std::size_t index) {
    for (const auto& hosted : m_Hosted) {
        if (hosted->index == index) {
            return hosted.get();
        }
    }
    return nullptr;
}

void ServiceHost::Change(std::size_t index, SimDevice changed) {
    const SimDevice current = Read(index);
    const bool moves = changed.ip != current.ip || changed.webPort != current.webPort;
    if (WsdScopes(changed) != WsdScopes(current) || WsdXAddrs(changed) != WsdXAddrs(current)) {
        ++changed.wsd.metadataVersion;
    }
    // Stored at once, so that the next request builds on it even before the server moved.
    m_Hooks.store(index, changed);
    if (moves) {
        Follow(index);
    } else if (changed.wsd.metadataVersion != current.wsd.metadataVersion) {
        Later(kAnswerLeaves, [this, index] { m_Hooks.hello(index); });
    }
}

void ServiceHost::KeepForReboot(std::size_t index, const SimDevice& changed) {
    const std::lock_guard lock(m_Mutex);
    Find(index)->afterReboot = changed;
}

void ServiceHost::Reboot(std::size_t index) {
    Hosted* hosted = Find(index);
    Later(kAnswerLeaves, [this, hosted] {
        m_Hooks.silence(hosted->index, true);
        hosted->server->Stop();
        Later(Read(hosted->index).service.rebootPause, [this, hosted] {
            SimDevice device = Read(hosted->index);
            std::optional<SimDevice> kept;
            {
                const std::lock_guard lock(m_Mutex);
                kept.swap(hosted->afterReboot);
            }
            if (kept) {
                device.ip = kept->ip;
                device.netmask = kept->netmask;
                device.dhcp = kept->dhcp;
                ++device.wsd.metadataVersion;
                m_Hooks.store(hosted->index, device);
            }
            m_Hooks.silence(hosted->index, false);
            Rehome(*hosted);
        });
    });
}

void ServiceHost::Follow(std::size_t index) {
    Hosted* hosted = Find(index);
    if (hosted != nullptr) {
        Later(kAnswerLeaves, [this, hosted] { Rehome(*hosted); });
    }
}

void ServiceHost::Later(std::chrono::milliseconds delay, std::function<void()> task) {
    {
        const std::lock_guard lock(m_Mutex);
        m_Tasks.emplace(Clock::now() + delay, std::move(task));
    }
    m_Wake.notify_all();
}

void ServiceHost::Work() {
    std::unique_lock lock(m_Mutex);
    while (!m_Ending) {
        if (m_Tasks.empty()) {
            m_Wake.wait(lock);
            continue;
        }
        const auto next = m_Tasks.begin();
        if (next->first > Clock::now()) {
            m_Wake.wait_until(lock, next->first);
            continue;
        }
        std::function<void()> task = std::move(next->second);
        m_Tasks.erase(next);
        lock.unlock();
        try {
            task();
        } catch (const std::exception&) {
            // A move the lan refused leaves the device without a server; its requests show it.
        }
        lock.lock();
    }
}

void ServiceHost::Rehome(Hosted& hosted) {
    const SimDevice device = Read(hosted.index);
    hosted.server->Stop();
    if (device.ip != hosted.servedAt) {
        m_Addresses->Add(device.ip);
        m_Addresses->Remove(hosted.servedAt);
        hosted.servedAt = device.ip;
    }
    hosted.server->Start(device);
    m_Hooks.hello(hosted.index);
}

} // namespace vanmoor::devsim

#pragma once

#include "DeviceServer.h"
#include "LanAddresses.h"
#include "ServiceDevices.h"

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vanmoor::devsim {

// The web services of the devices that have one: each device's address added to the lan
// interface and a server on it; changes of address or port move both, a reboot silences the
// device for its pause. A device that moved says Hello.
//
// Start runs on a thread in the lan's network namespace; the host's own threads are made from
// it, so that every address and socket they make belongs there too.
class ServiceHost final : public ServiceDevices {
public:
    // The simulator's side, callable from any thread.
    struct Hooks {
        std::function<SimDevice(std::size_t)> read;
        std::function<void(std::size_t, SimDevice)> store; // throws std::invalid_argument
        std::function<void(std::size_t)> hello;
        std::function<void(std::size_t, bool)> silence; // no answer to searches while set
        std::function<void(ServiceRequest)> record;
    };

    ServiceHost(const std::vector<SimDevice>& devices, Hooks hooks);
    ~ServiceHost() override;
    ServiceHost(const ServiceHost&) = delete;
    ServiceHost& operator=(const ServiceHost&) = delete;

    // Adds the addresses and starts the servers. Throws std::system_error.
    void Start();

    SimDevice Read(std::size_t index) override { return m_Hooks.read(index); }
    void Record(ServiceRequest request) override { m_Hooks.record(std::move(request)); }
    void Change(std::size_t index, SimDevice changed) override;
    void KeepForReboot(std::size_t index, const SimDevice& changed) override;
    void Reboot(std::size_t index) override;

    // Moves the device's address and server to its settings shortly, after its address or port
    // changed, by the device service or a settings command of a device protocol.
    void Follow(std::size_t index);

private:
    struct Hosted {
        std::size_t index;
        DeviceLogins logins;
        std::unique_ptr<DeviceServer> server;
        Ipv4 servedAt{}; // the address on the lan interface, used by the worker only
        std::optional<SimDevice> afterReboot;
    };

    Hosted* Find(std::size_t index);
    // Runs `task` on the worker thread after `delay`.
    void Later(std::chrono::milliseconds delay, std::function<void()> task);
    void Work();
    // On the worker: the server serves again at the device's address and port now, the address
    // moved on the lan interface when it changed, and the device says Hello.
    void Rehome(Hosted& hosted);

    Hooks m_Hooks;
    std::vector<std::unique_ptr<Hosted>> m_Hosted;
    std::unique_ptr<LanAddresses> m_Addresses; // used on the worker, and by Start before it
    std::mutex m_Mutex; // guards the tasks, m_Ending and each Hosted's afterReboot
    std::condition_variable m_Wake;
    std::multimap<Clock::time_point, std::function<void()>> m_Tasks;
    bool m_Ending = false;
    std::thread m_Worker;
};

} // namespace vanmoor::devsim

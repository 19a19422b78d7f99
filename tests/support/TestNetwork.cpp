#include "TestNetwork.h"

#include <arpa/inet.h>
#include <exception>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace vanmoor::test {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

TestNetwork ReadEnvironment() {
    TestNetwork network;
    std::istringstream addresses(Env("VANMOOR_TESTNET_PC_ADDRS"));
    for (std::string address; addresses >> address;) {
        network.pcAddresses.push_back(address);
    }
    for (int lan = 1;; ++lan) {
        const std::string pid = Env(("VANMOOR_TESTNET_LAN" + std::to_string(lan) + "_PID").c_str());
        if (pid.empty()) {
            break;
        }
        network.lanPids.push_back(std::stoi(pid));
        network.lanAddresses.push_back(
            Env(("VANMOOR_TESTNET_LAN" + std::to_string(lan) + "_ADDR").c_str()));
    }
    return network;
}

} // namespace

const TestNetwork& TestNetwork::Get() {
    static const TestNetwork network = ReadEnvironment();
    return network;
}

bool InsideTestNetwork(std::string& why) {
    if (Env("VANMOOR_TESTNET") != "1") {
        why = "not started by tests/netns/testnet.sh";
        return false;
    }
    const TestNetwork& network = TestNetwork::Get();
    if (network.pcAddresses.size() != 2 || network.lanPids.size() != 2) {
        why = "the test network description in the environment is incomplete";
        return false;
    }
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        why = "cannot list the interfaces";
        return false;
    }
    std::set<std::string> names;
    std::set<std::string> ipv4;
    for (ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        names.insert(entry->ifa_name);
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET &&
            (entry->ifa_flags & IFF_LOOPBACK) == 0) {
            char text[INET_ADDRSTRLEN] = {};
            inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr, text,
                      sizeof text);
            ipv4.insert(text);
        }
    }
    freeifaddrs(list);
    if (names != std::set<std::string>{"lo", "lan1", "lan2"} ||
        ipv4 != std::set<std::string>(network.pcAddresses.begin(), network.pcAddresses.end())) {
        why = "the interfaces of this network namespace are not the private test network's";
        return false;
    }
    return true;
}

void RunInLan(int lan, const std::function<void()>& task) {
    const TestNetwork& network = TestNetwork::Get();
    if (lan < 1 || lan > static_cast<int>(network.lanPids.size())) {
        throw std::invalid_argument("no such lan: " + std::to_string(lan));
    }
    const std::string path = "/proc/" + std::to_string(network.lanPids[lan - 1]) + "/ns/net";
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0) {
                throw std::runtime_error("cannot open " + path);
            }
            const int joined = setns(fd, CLONE_NEWNET);
            close(fd);
            if (joined != 0) {
                throw std::runtime_error("cannot join the network namespace " + path);
            }
            task();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace vanmoor::test

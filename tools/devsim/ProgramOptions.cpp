#include "ProgramOptions.h"

#include "DeviceConfig.h"
#include "DeviceGenerator.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string_view>

namespace vanmoor::devsim {

namespace {

// What --generate starts from before --protocol and --template.
constexpr std::string_view kGeneratedFirst = "mac=02:00:00:00:00:01 ip=10.0.0.1 name=dev";

std::size_t Count(std::string_view option, std::string_view text, std::size_t max) {
    std::size_t value = 0;
    const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || next != text.data() + text.size() || value > max) {
        throw std::invalid_argument(std::string(option) + ": expected a number from 0 to " +
                                    std::to_string(max));
    }
    return value;
}

std::chrono::milliseconds Seconds(std::string_view option, const std::string& text) {
    std::size_t used = 0;
    double seconds = -1;
    try {
        seconds = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !(seconds >= 0) || seconds > 1e9) {
        throw std::invalid_argument(std::string(option) + ": expected seconds, like 2.5");
    }
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

ReplyMode Mode(std::string_view text) {
    if (text == "broadcast") {
        return ReplyMode::Broadcast;
    }
    if (text == "subnet") {
        return ReplyMode::SubnetBroadcast;
    }
    if (text == "unicast") {
        return ReplyMode::Unicast;
    }
    throw std::invalid_argument("--reply: expected broadcast, subnet or unicast");
}

void SetOrder(ReplyPlan& plan, std::string_view text) {
    if (text == "device") {
        plan.order = ReplyOrder::DeviceOrder;
    } else if (text == "reverse") {
        plan.order = ReplyOrder::Reverse;
    } else {
        plan.order = ReplyOrder::Explicit;
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t comma = std::min(text.find(',', start), text.size());
            plan.permutation.push_back(Count("--order", text.substr(start, comma - start),
                                             std::numeric_limits<std::size_t>::max()));
            start = comma + 1;
        }
    }
}

} // namespace

ProgramOptions ParseProgramOptions(int argc, const char* const* argv) {
    ProgramOptions options;
    std::size_t generate = 0;
    std::string generateProtocol;
    std::string generateTemplate;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            return options;
        }
        if (option == "--version") {
            options.version = true;
            return options;
        }
        if (option == "--verbose" || option == "-v") {
            options.verbose = true;
            continue;
        }
        if (option == "--ready") {
            options.ready = true;
            continue;
        }
        if (i + 1 == argc) {
            throw std::invalid_argument(std::string(option) +
                                        ": unknown option, or its value is missing");
        }
        const std::string value = argv[++i];
        if (option == "--config") {
            const std::vector<SimDevice> devices = LoadDeviceFile(value);
            options.devices.insert(options.devices.end(), devices.begin(), devices.end());
        } else if (option == "--device") {
            options.devices.push_back(ParseDevice(value));
        } else if (option == "--generate") {
            generate = Count(option, value, 1'000'000);
        } else if (option == "--protocol") {
            generateProtocol = "protocol=" + value;
        } else if (option == "--template") {
            generateTemplate = value;
        } else if (option == "--reply") {
            options.plan.mode = Mode(value);
        } else if (option == "--delay") {
            options.plan.delay = std::chrono::milliseconds(Count(option, value, 3'600'000));
        } else if (option == "--wsd-delay") {
            options.plan.wsdMaxDelay = std::chrono::milliseconds(Count(option, value, 3'600'000));
        } else if (option == "--order") {
            SetOrder(options.plan, value);
        } else if (option == "--repeat") {
            options.plan.repeat = static_cast<unsigned>(Count(option, value, 1000));
        } else if (option == "--capture") {
            options.capturePath = value;
        } else if (option == "--duration") {
            options.duration = Seconds(option, value);
        } else {
            throw std::invalid_argument(std::string(option) + ": unknown option");
        }
    }
    if (generate > 0) {
        const SimDevice first = ParseDevice(std::string(kGeneratedFirst) + " " + generateProtocol +
                                            " " + generateTemplate);
        const std::vector<SimDevice> devices = GenerateDevices(first, generate);
        options.devices.insert(options.devices.end(), devices.begin(), devices.end());
    }
    CheckReplyPlan(options.plan, options.devices.size());
    return options;
}

const char* UsageText() {
    return R"(Usage: vanmoor-devsim [OPTION]...
Plays network devices that answer discovery searches on UDP ports 4022 and 32970 and obey
settings commands, in the network namespace where it runs. Run it only inside the private test
network (tests/netns/testnet.sh), never on a real network.

Devices (in the order given; generated devices come last):
  --config FILE       devices from FILE, one description per line ('#' starts a comment line)
  --device SETTINGS   one device, e.g. "protocol=32970 mac=02:00:5e:00:00:07 ip=192.0.2.7"
  --generate N        N devices counting up in MAC, address and name from the first one:
                      mac=02:00:00:00:00:01 ip=10.0.0.1 name=dev, changed by
  --protocol P          4022 or 32970
  --template SETTINGS   further settings of the first generated device
Device settings (key=value, blanks between; quote values with blanks: name="Front door"):
  protocol 4022|32970|3702 (or 4022,3702: both)  mac  ip  netmask  gateway  dns1  dns2  name
  port  port2  dhcp 0|1  type 0..255  code HHHHHHHH  version  brand  model  camera
  length 56..500  user  password  reply broadcast|subnet|unicast  delay MS
  WS-Discovery: endpoint  types  scopes  xaddrs  metadata N
  wsd_hostile none|malformed|oversized|doctype|twice|foreign-relates  wsd_probes all|unicast
  wsd_ignore N   (defaults in tools/devsim/DeviceConfig.h and WsdMessages.h)
  Web service (with 3702): service on|off  login digest|wsse|both  clock SECONDS
  reboot_needed on|off  reboot_pause MS  changes apply|ignore|drop  serial  hardware
  service_hostile none|huge|endless|drip|doctype|redirect|odd-fault
Replies:
  --reply MODE        broadcast (255.255.255.255, default), subnet (the device's subnet
                      broadcast address) or unicast (the requester's address and port)
  --delay MS          wait before answering (default 0)
  --order ORDER       device (default), reverse, or device indices from 0: 2,0,1
  --repeat N          answer N times (default 1; 0: never)
  --wsd-delay MS      WS-Discovery devices answer a Probe after a random wait of up to MS
                      (default 500)
Observation:
  --capture FILE      one line per received datagram with its bytes in hex, and per web
                      service request with its operation and login ('-': stdout)
  --verbose, -v       tell on standard error what arrives and what the devices do
  --ready             print "vanmoor-devsim ready ..." on standard output once listening
  --duration SEC      stop after SEC seconds (default: at SIGINT or SIGTERM)
  --version           the program's version
  --help, -h          this text
)";
}

} // namespace vanmoor::devsim

#include "FakeLibrary.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace kestrun::test {

namespace {

FakeLibrary* g_Fake = nullptr;

FakeLibrary& Fake() {
    if (g_Fake == nullptr) {
        throw std::logic_error("no FakeLibrary");
    }
    return *g_Fake;
}

void Record(std::string call) {
    Fake().calls.push_back(std::move(call));
}

const FakeDevice* Find(int index) {
    const FakeLibrary& fake = Fake();
    if (index < 0 || index >= static_cast<int>(fake.devices.size())) {
        return nullptr;
    }
    const FakeDevice& device = fake.devices[static_cast<std::size_t>(index)];
    const bool hidden =
        fake.filter && !device.localAddress.empty() && device.localAddress != *fake.filter;
    return device.missing || hidden ? nullptr : &device;
}

bool WriteDotted(int index, char* out, int outSize, Ipv4Octets FakeDevice::*field) {
    const FakeDevice* device = Find(index);
    if (device == nullptr) {
        return false;
    }
    const Ipv4Octets& o = device->*field;
    std::snprintf(out, static_cast<std::size_t>(outSize), "%d.%d.%d.%d", o[0], o[1], o[2], o[3]);
    return true;
}

void* FakeInit() {
    Record("init()");
    return g_Fake;
}

void FakeDeinit() {
    Record("deinit()");
}

bool FakeSearch(int milliseconds) {
    Record("search(" + std::to_string(milliseconds) + ")");
    if (Fake().duringSearch) {
        Fake().duringSearch();
    }
    return Fake().searchSucceeds;
}

int FakeGetCounts() {
    return static_cast<int>(Fake().devices.size());
}

bool FakeSetIPSearch(int enable, const char* address) {
    Record("setIPSearch(" + std::to_string(enable) + "," + address + ")");
    FakeLibrary& fake = Fake();
    if (fake.addressesAtNextSetIPSearch) {
        fake.localAddresses = *fake.addressesAtNextSetIPSearch;
        fake.addressesAtNextSetIPSearch.reset();
    }
    fake.filter.reset();
    if (enable == 0) {
        return true;
    }
    if (std::find(fake.localAddresses.begin(), fake.localAddresses.end(), address) ==
        fake.localAddresses.end()) {
        return false;
    }
    fake.filter = address;
    return true;
}

int FakeGetIPcount() {
    return static_cast<int>(Fake().localAddresses.size());
}

const char* FakeGetIPinfo(int i) {
    const auto& addresses = Fake().localAddresses;
    return i >= 0 && i < static_cast<int>(addresses.size())
               ? addresses[static_cast<std::size_t>(i)].c_str()
               : nullptr;
}

// A byte field of `width` bytes, copied as the library copies it: no terminator added.
bool CopyBytes(int index, void* out, int len, std::string FakeDevice::*field, std::size_t width) {
    const FakeDevice* device = Find(index);
    if (device == nullptr) {
        return false;
    }
    std::string bytes = (device->*field).substr(0, width);
    bytes.resize(width, '\0');
    std::memcpy(out, bytes.data(), std::min(static_cast<std::size_t>(len), width));
    return true;
}

bool FakeGetName(int index, void* out, int len) {
    return CopyBytes(index, out, len, &FakeDevice::name, 23);
}

bool FakeGetIPString(int index, char* out, int outSize) {
    const FakeDevice* device = Find(index);
    if (device == nullptr) {
        return false;
    }
    const Ipv4Octets& o = device->ip;
    std::snprintf(out, static_cast<std::size_t>(outSize), "%03d.%03d.%03d.%03d", o[0], o[1], o[2],
                  o[3]);
    return true;
}

bool FakeGetIPStringDetVer(int index, char* out, int outSize, char* protocolOut) {
    if (!WriteDotted(index, out, outSize, &FakeDevice::ip)) {
        return false;
    }
    *protocolOut = Find(index)->protocol;
    return true;
}

bool FakeGetMacString(int index, char* out, int outSize) {
    const FakeDevice* device = Find(index);
    if (device == nullptr) {
        return false;
    }
    const MacBytes& m = device->mac;
    std::snprintf(out, static_cast<std::size_t>(outSize), "%d-%d-%d-%d-%d-%d", m[0], m[1], m[2],
                  m[3], m[4], m[5]);
    return true;
}

int FakeGetPort(int index) {
    const FakeDevice* device = Find(index);
    return device != nullptr ? device->port : 0;
}

int FakeGetDHCP(int index) {
    const FakeDevice* device = Find(index);
    return device != nullptr && device->dhcp ? 1 : 0;
}

template <typename Settings> void ChangeDevice(const Settings& settings, bool dhcp) {
    FakeLibrary& fake = Fake();
    if (!fake.setsChangeDevices || fake.setResult != 1) {
        return;
    }
    for (FakeDevice& device : fake.devices) {
        if (device.ignoresSets || !std::equal(device.mac.begin(), device.mac.end(), settings.MAC)) {
            continue;
        }
        std::copy_n(settings.IP, 4, device.ip.begin());
        std::copy_n(settings.netmask, 4, device.netmask.begin());
        std::copy_n(settings.gateway, 4, device.gateway.begin());
        std::copy_n(settings.DNS1, 4, device.dns1.begin());
        std::copy_n(settings.DNS2, 4, device.dns2.begin());
        device.name.assign(settings.name, strnlen(settings.name, sizeof settings.name));
        device.port = settings.port;
        device.dhcp = dhcp;
    }
}

int FakeSet(NetSettings settings) {
    Record("set()");
    Fake().lastSet = settings;
    ChangeDevice(settings, settings.bDHCP == 1);
    return Fake().setResult;
}

int FakeSetMd5(AuthNetSettings settings) {
    Record("set_MD5()");
    Fake().lastSetMd5 = settings;
    ChangeDevice(settings, settings.DHCP == 1);
    return Fake().setResult;
}

} // namespace

FakeLibrary::FakeLibrary() {
    g_Fake = this;
}

FakeLibrary::~FakeLibrary() {
    g_Fake = nullptr;
}

LibraryApi FakeLibrary::Api() const {
    return LibraryApi{
        .init = &FakeInit,
        .deinit = &FakeDeinit,
        .search = &FakeSearch,
        .getCounts = &FakeGetCounts,
        .setIPSearch = &FakeSetIPSearch,
        .getIPcount = &FakeGetIPcount,
        .getIPinfo = &FakeGetIPinfo,
        .getName = &FakeGetName,
        .getIPString = &FakeGetIPString,
        .getIPString_DetVer = &FakeGetIPStringDetVer,
        .getMacString = &FakeGetMacString,
        .getPort = &FakeGetPort,
        .getNetMaskString =
            [](int index, char* out, int size) {
                return WriteDotted(index, out, size, &FakeDevice::netmask);
            },
        .getGateWayString =
            [](int index, char* out, int size) {
                return WriteDotted(index, out, size, &FakeDevice::gateway);
            },
        .getDNS1String = [](int index, char* out,
                            int size) { return WriteDotted(index, out, size, &FakeDevice::dns1); },
        .getDNS2String = [](int index, char* out,
                            int size) { return WriteDotted(index, out, size, &FakeDevice::dns2); },
        .getDHCP = &FakeGetDHCP,
        .getType =
            [](int index) {
                const FakeDevice* device = Find(index);
                return device != nullptr ? device->type : 0;
            },
        .getDevice =
            [](int index, void* out, int len) {
                return CopyBytes(index, out, len, &FakeDevice::deviceCode, 10);
            },
        .getVersion = [](int index, void* out,
                         int len) { return CopyBytes(index, out, len, &FakeDevice::version, 17); },
        .getBrand = [](int index, void* out,
                       int len) { return CopyBytes(index, out, len, &FakeDevice::brand, 33); },
        .getModeName = [](int index, void* out,
                          int len) { return CopyBytes(index, out, len, &FakeDevice::model, 33); },
        .getCameraName1 =
            [](int index, void* out, int len) {
                return CopyBytes(index, out, len, &FakeDevice::cameraName, 65);
            },
        .set = &FakeSet,
        .set_MD5 = &FakeSetMd5,
    };
}

} // namespace kestrun::test

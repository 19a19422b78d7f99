#include "ReadCamera.h"

#include "DeviceClient.h"
#include "DeviceSession.h"
#include "XAddrWebPage.h"

namespace vanmoor::commission {

std::string DeviceServiceUrl(const SiteDevice& device) {
    if (!device.wsd || !device.wsd->answeredFrom) {
        return {};
    }
    return site::DeviceServiceUrlOfXAddrs(device.wsd->xaddrs, *device.wsd->answeredFrom)
        .value_or(std::string());
}

CameraRead ReadCamera(HttpTransport& transport, const SiteDevice& device,
                      const Credentials& credentials, const HttpLimits& limits) {
    CameraRead result;
    result.access.deviceServiceUrl = DeviceServiceUrl(device);
    if (result.access.deviceServiceUrl.empty()) {
        const std::optional<Ipv4Octets> answeredFrom =
            device.wsd ? device.wsd->answeredFrom : std::nullopt;
        result.detail = "none of its XAddrs is an http or https URL on the address it answered "
                        "from (" +
                        (answeredFrom ? settings::DottedText(*answeredFrom) : "not known") + ")";
        return result;
    }
    result.access.endpoint = device.wsd->endpoint;
    result.access.address = *device.wsd->answeredFrom;
    result.access.credentials = credentials;
    onvif::DeviceSession session(transport, result.access.deviceServiceUrl, credentials, limits);
    onvif::ReadResult read = onvif::DeviceClient(session, device.ip).Read();
    if (read.end == onvif::ReadEnd::LoginRefused) {
        result.end = CameraReadEnd::LoginRefused;
        result.detail = std::move(read.detail);
    } else if (read.end == onvif::ReadEnd::Unreachable) {
        result.end = CameraReadEnd::Unreachable;
        result.detail = "no answer from its device service at " + result.access.deviceServiceUrl +
                        ": " + read.detail;
    } else if (read.settings == onvif::CameraSettings{}) {
        result.end = CameraReadEnd::NotDeviceService;
        result.detail =
            "no device service at " + result.access.deviceServiceUrl + ": " +
            (read.unread.empty() ? std::string("nothing was read") : read.unread.front());
    } else {
        result.end = CameraReadEnd::Read;
        result.access.read = std::move(read.settings);
    }
    return result;
}

} // namespace vanmoor::commission

#include "CameraReading.h"

#include "DeviceClient.h"
#include "DeviceServiceRecord.h"
#include "DeviceSession.h"
#include "ExitStatus.h"
#include "Password.h"
#include "XAddrWebPage.h"

namespace vanmoor::cli {

namespace {

onvif::TransportOptions ReadTransportOptions(const Arguments& arguments) {
    onvif::TransportOptions options;
    options.acceptUntrustedCertificate = arguments.Has(kAcceptCertificateOption);
    return options;
}

} // namespace

const std::vector<std::string>& CameraCredentialOptions() {
    static const std::vector<std::string> names = {"--user", "--password-file"};
    return names;
}

bool CameraCredentialsGiven(const Arguments& arguments) {
    return arguments.Has("--user");
}

CameraReader::CameraReader(const Arguments& arguments, const Console& console,
                           const std::string& target)
    : m_transport(onvif::MakeHttpTransport(ReadTransportOptions(arguments))) {
    UserCredentials credentials = ReadCameraCredentials(arguments, console, target);
    m_credentials = {std::move(credentials.user), std::move(credentials.password)};
}

CameraReader::~CameraReader() = default;

// Credentials go only to the host that answered: a camera's XAddrs are its own word, and may
// name another host.
std::string CameraReader::DeviceServiceUrl(const DeviceInfo& device) {
    const std::optional<settings::Ipv4Octets> answeredFrom =
        device.wsd ? device.wsd->answeredFrom : std::nullopt;
    if (answeredFrom) {
        if (auto url = site::DeviceServiceUrlOfXAddrs(device.wsd->xaddrs, *answeredFrom)) {
            return *std::move(url);
        }
    }
    throw CliError(ExitStatus::Failed,
                   "camera " + DeviceIdentity(device) +
                       " offers no device service: none of its XAddrs is an http or https URL "
                       "on the address it answered from (" +
                       (answeredFrom ? settings::DottedText(*answeredFrom) : "not known") + ")");
}

onvif::CameraSettings CameraReader::Read(DeviceInfo& device) {
    const std::string url = DeviceServiceUrl(device);
    onvif::DeviceSession session(*m_transport, url, m_credentials);
    onvif::DeviceClient client(session, device.ip);
    onvif::ReadResult read = client.Read();
    const std::string camera = "camera " + DeviceIdentity(device);
    if (read.end == onvif::ReadEnd::LoginRefused) {
        throw CliError(ExitStatus::Failed, camera + ": " + read.detail);
    }
    if (read.end == onvif::ReadEnd::Unreachable) {
        throw CliError(ExitStatus::Failed, camera + ": no answer from its device service at " +
                                               url + ": " + read.detail);
    }
    if (read.settings == onvif::CameraSettings{}) {
        throw CliError(
            ExitStatus::Failed,
            camera + " has no device service at " + url + ": " +
                (read.unread.empty() ? std::string("nothing was read") : read.unread.front()));
    }
    site::TakeDeviceServiceRead(device, read.settings);
    return std::move(read.settings);
}

} // namespace vanmoor::cli

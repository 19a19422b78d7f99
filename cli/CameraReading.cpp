#include "CameraReading.h"

#include "DeviceServiceRecord.h"
#include "ExitStatus.h"
#include "Password.h"

namespace vanmoor::cli {

onvif::TransportOptions ReadTransportOptions(const Arguments& arguments) {
    onvif::TransportOptions options;
    options.acceptUntrustedCertificate = arguments.Has(kAcceptCertificateOption);
    return options;
}

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

commission::CameraAccess CameraReader::Read(DeviceInfo& device) {
    commission::CameraRead read = commission::ReadCamera(*m_transport, device, m_credentials);
    const std::string camera = "camera " + DeviceIdentity(device);
    switch (read.end) {
    case commission::CameraReadEnd::Read:
        site::TakeDeviceServiceRead(device, read.access.read);
        return std::move(read.access);
    case commission::CameraReadEnd::NoDeviceService:
        throw CliError(ExitStatus::Failed, camera + " offers no device service: " + read.detail);
    case commission::CameraReadEnd::NotDeviceService:
        throw CliError(ExitStatus::Failed, camera + " has " + read.detail);
    default:
        throw CliError(ExitStatus::Failed, camera + ": " + read.detail);
    }
}

} // namespace vanmoor::cli

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

std::string CameraReadProblem(const DeviceInfo& device, const commission::CameraRead& read) {
    const std::string camera = "camera " + DeviceIdentity(device);
    switch (read.end) {
    case commission::CameraReadEnd::NoDeviceService:
        return camera + " offers no device service: " + read.detail;
    case commission::CameraReadEnd::NotDeviceService:
        return camera + " has " + read.detail;
    default:
        return camera + ": " + read.detail;
    }
}

commission::CameraAccess CameraReader::Read(DeviceInfo& device) {
    commission::CameraRead read = commission::ReadCamera(*m_transport, device, m_credentials);
    if (read.end != commission::CameraReadEnd::Read) {
        throw CliError(ExitStatus::Failed, CameraReadProblem(device, read));
    }
    site::TakeDeviceServiceRead(device, read.access.read);
    return std::move(read.access);
}

} // namespace vanmoor::cli

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
    static const std::vector<std::string> names = {"--user", "--password-file",
                                                   "--credentials-file"};
    return names;
}

bool CameraCredentialsGiven(const Arguments& arguments) {
    return arguments.Has("--user") || arguments.Has("--credentials-file");
}

commission::CredentialsBook ReadCredentialsBook(const Arguments& arguments, const Console& console,
                                                const std::string& target) {
    const std::optional<std::string> file = arguments.Value("--credentials-file");
    if (file && arguments.Has("--user")) {
        throw UsageError("give --user or --credentials-file, not both");
    }
    if (file) {
        try {
            return commission::CredentialsBook::Parse(ReadCredentialsFile(*file));
        } catch (const commission::CredentialsFileError& error) {
            throw UsageError(error.what());
        }
    }
    if (!arguments.Has("--user")) {
        return {};
    }
    UserCredentials credentials = ReadCameraCredentials(arguments, console, target);
    return commission::CredentialsBook::ForEveryDevice(
        {std::move(credentials.user), std::move(credentials.password)});
}

CameraReader::CameraReader(const Arguments& arguments, const Console& console,
                           const std::string& target)
    : m_book(ReadCredentialsBook(arguments, console, target)),
      m_transport(onvif::MakeHttpTransport(ReadTransportOptions(arguments))) {}

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
    const std::optional<onvif::Credentials> credentials = m_book.For(device);
    if (!credentials) {
        throw CliError(ExitStatus::Failed,
                       "no line of the credentials file covers camera " + DeviceIdentity(device));
    }
    commission::CameraRead read = commission::ReadCamera(*m_transport, device, *credentials);
    if (read.end != commission::CameraReadEnd::Read) {
        throw CliError(ExitStatus::Failed, CameraReadProblem(device, read));
    }
    site::TakeDeviceServiceRead(device, read.access.read);
    return std::move(read.access);
}

} // namespace vanmoor::cli

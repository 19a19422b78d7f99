#pragma once

#include "Arguments.h"
#include "Console.h"
#include "Credentials.h"
#include "CredentialsBook.h"
#include "HttpTransport.h"
#include "Listing.h"
#include "ReadCamera.h"

#include <memory>
#include <string>
#include <vector>

namespace vanmoor::cli {

// The options of the commands that read cameras through their device service.
inline constexpr const char* kAcceptCertificateOption = "--accept-camera-certificate";
const std::vector<std::string>& CameraCredentialOptions();

// How the command reaches cameras' device services: --accept-camera-certificate.
onvif::TransportOptions ReadTransportOptions(const Arguments& arguments);

// True when the command was given credentials for cameras: --user or --credentials-file.
bool CameraCredentialsGiven(const Arguments& arguments);

// Why `device` could not be read, in words for the user; `read` did not end in Read.
std::string CameraReadProblem(const DeviceInfo& device, const commission::CameraRead& read);

// The lines of --credentials-file, or --user and its password for every device; none without
// either. Both are a usage error. `target` names the devices in a password prompt.
commission::CredentialsBook ReadCredentialsBook(const Arguments& arguments, const Console& console,
                                                const std::string& target);

// One camera's device service, reached with the credentials the command was given.
class CameraReader {
public:
    // Reads the credentials (ReadCredentialsBook) and --accept-camera-certificate.
    CameraReader(const Arguments& arguments, const Console& console, const std::string& target);
    ~CameraReader();

    // Reads `device` and fills its record from the read. Throws CliError(Failed) with the cause:
    // no credentials for it, no device service offered, the login refused (the clock named when
    // it is the likely cause), no answer at the URL, or an answer that is no device service.
    commission::CameraAccess Read(DeviceInfo& device);

    const commission::CredentialsBook& Book() const { return m_book; }
    onvif::HttpTransport& Transport() { return *m_transport; }

private:
    commission::CredentialsBook m_book;
    std::unique_ptr<onvif::HttpTransport> m_transport;
};

} // namespace vanmoor::cli

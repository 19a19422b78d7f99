#include "DeviceServer.h"

#include "AddressText.h"
#include "SoapAnswers.h"
#include "SoapChanges.h"
#include "SoapRequest.h"
#include "WsdMessages.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <httplib.h>
#include <system_error>
#include <thread>

namespace vanmoor::devsim {

namespace {

constexpr char kSoapType[] = "application/soap+xml; charset=utf-8";
constexpr std::size_t kHugeBytes = 64 * 1024 * 1024;
constexpr std::size_t kPieceBytes = 64 * 1024;
constexpr std::size_t kMaxRequestBytes = 256 * 1024;
constexpr std::chrono::milliseconds kDripPause{100};

// The path of the device's first XAddrs, where it serves.
std::string ServicePath(const SimDevice& device) {
    const std::vector<std::string> xaddrs = WsdXAddrs(device);
    const std::string& url = xaddrs.empty() ? std::string() : xaddrs.front();
    const std::size_t host = url.find("://");
    const std::size_t path = host == std::string::npos ? host : url.find('/', host + 3);
    return path == std::string::npos ? "/onvif/device_service" : url.substr(path);
}

bool NeedsNoLogin(const std::string& operation) {
    return operation == "GetSystemDateAndTime" || operation == "GetServiceCapabilities";
}

std::chrono::system_clock::time_point DeviceNow(const SimDevice& device) {
    return std::chrono::system_clock::now() +
           std::chrono::seconds(device.service.clockOffsetSeconds);
}

void Answer(httplib::Response& response, int status, const std::string& envelope) {
    response.status = status;
    response.set_content(envelope, kSoapType);
}

// A fault reason that a careless client would print as it is: line breaks, a tab, the C1
// control sequence introducer with a screen-clearing sequence, a right-to-left override, markup,
// and a length no line should have.
std::string OddReason() {
    return "Refused\r\n\tby the device \xC2\x9B"
           "2J\xE2\x80\xAE<b>bold</b>&amp; " +
           std::string(20000, 'A');
}

} // namespace

DeviceServer::DeviceServer(std::size_t index, DeviceLogins& logins, ServiceDevices& devices,
                           std::size_t workers)
    : m_Index(index), m_Workers(workers), m_Logins(logins), m_Devices(devices) {}

DeviceServer::~DeviceServer() {
    Stop();
}

void DeviceServer::Start(const SimDevice& device) {
    auto server = std::make_unique<httplib::Server>();
    server->new_task_queue = [workers = m_Workers] { return new httplib::ThreadPool(workers); };
    server->set_keep_alive_timeout(1); // so that a move or a reboot closes idle connections soon
    // An answer's header and body leave in two writes: with Nagle's wait the body waited for
    // the client's delayed acknowledgement, some 40 ms an answer.
    server->set_tcp_nodelay(true);
    server->set_payload_max_length(kMaxRequestBytes);
    server->Post(ServicePath(device),
                 [this](const httplib::Request& request, httplib::Response& response) {
                     Handle(request, response);
                 });
    if (!server->bind_to_port(FormatIpv4(device.ip), device.webPort)) {
        throw std::system_error(EADDRNOTAVAIL, std::generic_category(),
                                "web service of device " + std::to_string(m_Index) + " on " +
                                    FormatIpv4(device.ip) + ":" + std::to_string(device.webPort));
    }
    m_Stopping = false;
    m_Server = std::move(server);
    m_Thread = std::thread([server = m_Server.get()] { server->listen_after_bind(); });
    // A stop before the server runs would be lost and leave Stop waiting for ever.
    for (int i = 0; i < 2000 && !m_Server->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void DeviceServer::Stop() {
    if (!m_Server) {
        return;
    }
    m_Stopping = true;
    m_Server->stop();
    if (m_Thread.joinable()) {
        m_Thread.join();
    }
    m_Server.reset();
}

bool DeviceServer::AnswerHostile(const SimDevice& device, httplib::Response& response) {
    switch (device.service.hostile) {
    case ServiceHostile::Huge:
        response.set_content_provider(
            kHugeBytes, kSoapType,
            [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                const std::string piece(std::min(length, kPieceBytes), offset == 0 ? '<' : 'x');
                return sink.write(piece.data(), piece.size());
            });
        return true;
    case ServiceHostile::Endless:
        response.set_chunked_content_provider(
            kSoapType, [this](std::size_t offset, httplib::DataSink& sink) {
                const std::string piece =
                    offset == 0 ? SoapEnvelope("").substr(0, 200) : std::string(kPieceBytes, ' ');
                return !m_Stopping && sink.write(piece.data(), piece.size());
            });
        return true;
    case ServiceHostile::Drip:
        // Slow enough that no size limit ends it: only a client's time limit does.
        response.set_chunked_content_provider(
            kSoapType, [this](std::size_t offset, httplib::DataSink& sink) {
                if (offset > 0) {
                    std::this_thread::sleep_for(kDripPause);
                }
                const std::string piece = offset == 0 ? SoapEnvelope("").substr(0, 200) : " ";
                return !m_Stopping && sink.write(piece.data(), piece.size());
            });
        return true;
    case ServiceHostile::Doctype: {
        std::string envelope =
            SoapEnvelope(*ReadingAnswer("GetHostname", device, DeviceNow(device)));
        envelope.insert(envelope.find("?>") + 2,
                        "<!DOCTYPE env:Envelope [<!ENTITY a \"aaaaaaaaaaaaaaaa\">"
                        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>");
        envelope.insert(envelope.find("<tt:Name>") + std::strlen("<tt:Name>"), "&c;");
        Answer(response, 200, envelope);
        return true;
    }
    case ServiceHostile::Redirect:
        response.set_redirect("http://" + FormatIpv4(device.ip) + ":" +
                                  std::to_string(device.webPort) + "/onvif/elsewhere",
                              307);
        return true;
    case ServiceHostile::OddFault:
        Answer(response, 400, SoapFault("env:Sender", "ter:InvalidArgVal", OddReason()));
        return true;
    case ServiceHostile::None:
        break;
    }
    return false;
}

ServiceRequest DeviceServer::Admit(const httplib::Request& request,
                                   const std::optional<SoapRequest>& soap,
                                   const SimDevice& device) {
    const std::string authorization = request.get_header_value("Authorization");
    const bool digestSent = authorization.starts_with("Digest ");
    const bool tokenSent = soap && soap->Token().has_value();
    ServiceRequest record{m_Index,
                          soap ? soap->Operation() : std::string(),
                          digestSent && tokenSent ? LoginSeen::Both
                          : digestSent            ? LoginSeen::Digest
                          : tokenSent             ? LoginSeen::UsernameToken
                                                  : LoginSeen::None,
                          false,
                          ParseIpv4(request.remote_addr).value_or(Ipv4{}),
                          Clock::now()};
    const ServiceLogin takes = device.service.login;
    bool loggedIn = false;
    if (record.login == LoginSeen::Digest && takes != ServiceLogin::UsernameToken) {
        loggedIn = m_Logins.digest.Check(authorization, request.method, request.target, device.user,
                                         device.password);
    } else if (record.login == LoginSeen::UsernameToken && takes != ServiceLogin::Digest) {
        loggedIn =
            m_Logins.token.Check(*soap->Token(), device.user, device.password, DeviceNow(device));
    }
    // Two logins in one request are refused whatever the operation, so that tests see them.
    record.accepted =
        record.login != LoginSeen::Both && (loggedIn || (soap && NeedsNoLogin(soap->Operation())));
    return record;
}

void DeviceServer::Refuse(const SimDevice& device, httplib::Response& response) {
    const bool challenge = device.service.login != ServiceLogin::UsernameToken;
    if (challenge) {
        for (const std::string& value : m_Logins.digest.Challenges()) {
            response.headers.emplace("WWW-Authenticate", value);
        }
    }
    Answer(response, challenge ? 401 : 400,
           SoapFault("env:Sender", "ter:NotAuthorized", "Sender not authorized"));
}

void DeviceServer::AnswerChange(const SoapRequest& soap, const SimDevice& device,
                                httplib::Response& response) {
    if (device.service.changes == ServiceChanges::Drop) {
        // Headers go out, then the connection closes before the body: the change is lost.
        response.set_content_provider(
            64, kSoapType, [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
        return;
    }
    try {
        const SimDevice changed = Changed(soap, device);
        const bool newAddress = changed.ip != device.ip || changed.netmask != device.netmask ||
                                changed.dhcp != device.dhcp;
        const bool reboot =
            soap.Operation() == "SetNetworkInterfaces" && newAddress && device.service.rebootNeeded;
        if (device.service.changes == ServiceChanges::Apply) {
            if (reboot) {
                m_Devices.KeepForReboot(m_Index, changed);
            } else {
                m_Devices.Change(m_Index, changed);
            }
        }
        Answer(response, 200, SoapEnvelope(ChangeAnswer(soap.Operation(), reboot)));
    } catch (const std::invalid_argument& error) {
        Answer(response, 400, SoapFault("env:Sender", "ter:InvalidArgVal", error.what()));
    }
}

void DeviceServer::Handle(const httplib::Request& request, httplib::Response& response) {
    const SimDevice device = m_Devices.Read(m_Index);
    const std::optional<SoapRequest> soap = SoapRequest::Read(request.body);
    const ServiceRequest record = Admit(request, soap, device);
    m_Devices.Record(record);
    if (AnswerHostile(device, response)) {
        return;
    }
    if (!record.accepted) {
        Refuse(device, response);
        return;
    }
    if (!soap) {
        Answer(response, 400,
               SoapFault("env:Sender", "ter:WellFormed", "The request is no SOAP 1.2 envelope"));
        return;
    }
    const std::string& operation = soap->Operation();
    if (const auto answer = ReadingAnswer(operation, device, DeviceNow(device))) {
        Answer(response, 200, SoapEnvelope(*answer));
    } else if (operation == "SystemReboot") {
        m_Devices.Reboot(m_Index);
        Answer(response, 200,
               SoapEnvelope("<tds:SystemRebootResponse><tds:Message>Rebooting</tds:Message>"
                            "</tds:SystemRebootResponse>"));
    } else if (IsChangeOperation(operation)) {
        AnswerChange(*soap, device, response);
    } else {
        Answer(response, 500,
               SoapFault("env:Receiver", "ter:ActionNotSupported",
                         "The device does not support this operation"));
    }
}

} // namespace vanmoor::devsim

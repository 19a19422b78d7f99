#include "DeviceAnswers.h"

#include "AnswerReader.h"

namespace vanmoor::onvif {

namespace {

// Ports of one protocol, and protocols of one answer; real cameras list one or two and three.
constexpr std::size_t kMaxPorts = 8;
constexpr std::size_t kMaxProtocols = 16;

class DeviceInformationReader final : public AnswerReader {
public:
    DeviceInformationReader() : AnswerReader("GetDeviceInformationResponse") {}
    CameraSettings read;

private:
    void Close(const Path& path, std::string_view text) override {
        if (At(path, {"tds:Manufacturer"})) {
            read.manufacturer = ShownText(text);
        } else if (At(path, {"tds:Model"})) {
            read.model = ShownText(text);
        } else if (At(path, {"tds:FirmwareVersion"})) {
            read.firmware = ShownText(text);
        } else if (At(path, {"tds:SerialNumber"})) {
            read.serial = ShownText(text);
        } else if (At(path, {"tds:HardwareId"})) {
            read.hardwareId = ShownText(text);
        }
    }
};

class GatewayReader final : public AnswerReader {
public:
    GatewayReader() : AnswerReader("GetNetworkDefaultGatewayResponse") {}
    std::optional<Ipv4Octets> gateway;

private:
    void Close(const Path& path, std::string_view text) override {
        if (!At(path, {"tds:NetworkGateway", "tt:IPv4Address"})) {
            return;
        }
        const auto address = settings::ParseDottedAddress(text);
        if (!address) {
            Refuse("a gateway that is no IPv4 address");
        } else if (!gateway) {
            gateway = address;
        }
    }
};

class HostnameReader final : public AnswerReader {
public:
    HostnameReader() : AnswerReader("GetHostnameResponse") {}
    std::optional<std::string> hostname;

private:
    void Close(const Path& path, std::string_view text) override {
        if (At(path, {"tds:HostnameInformation", "tt:Name"})) {
            hostname = ShownText(text);
        }
    }
};

class ProtocolsReader final : public AnswerReader {
public:
    ProtocolsReader() : AnswerReader("GetNetworkProtocolsResponse") {}
    std::optional<HttpProtocol> http;

private:
    struct Protocol {
        std::string name;
        std::optional<bool> enabled;
        std::vector<std::uint16_t> ports;
    };

    void Open(const Path& path) override {
        if (At(path, {"tds:NetworkProtocols"})) {
            m_protocol = {};
            if (++m_protocols > kMaxProtocols) {
                Refuse("too many protocols");
            }
        }
    }

    void Close(const Path& path, std::string_view text) override {
        if (At(path, {"tds:NetworkProtocols", "tt:Name"})) {
            m_protocol.name = ShownText(text);
        } else if (At(path, {"tds:NetworkProtocols", "tt:Enabled"})) {
            m_protocol.enabled = BooleanText(text);
            if (!m_protocol.enabled) {
                Refuse("a protocol's enabled state is no boolean");
            }
        } else if (At(path, {"tds:NetworkProtocols", "tt:Port"})) {
            const auto port = IntegerText(text, 1, 65535);
            if (!port) {
                Refuse("a port out of 1..65535");
            } else if (m_protocol.ports.size() == kMaxPorts) {
                Refuse("too many ports");
            } else {
                m_protocol.ports.push_back(static_cast<std::uint16_t>(*port));
            }
        } else if (At(path, {"tds:NetworkProtocols"}) && m_protocol.name == "HTTP" && !http &&
                   m_protocol.enabled) {
            http = HttpProtocol{*m_protocol.enabled, m_protocol.ports};
        }
    }

    Protocol m_protocol;
    std::size_t m_protocols = 0;
};

class RebootNeededReader final : public AnswerReader {
public:
    RebootNeededReader() : AnswerReader("SetNetworkInterfacesResponse") {}
    std::optional<bool> rebootNeeded;

private:
    void Close(const Path& path, std::string_view text) override {
        if (At(path, {"tds:RebootNeeded"})) {
            rebootNeeded = BooleanText(text);
            if (!rebootNeeded) {
                Refuse("RebootNeeded is no boolean");
            }
        }
    }
};

class EmptyReader final : public AnswerReader {
public:
    using AnswerReader::AnswerReader;

private:
    void Close(const Path&, std::string_view) override {}
};

} // namespace

std::string ReadDeviceInformation(std::string_view envelope, CameraSettings& into) {
    DeviceInformationReader reader;
    std::string problem = reader.Read(envelope);
    if (problem.empty()) {
        into.manufacturer = std::move(reader.read.manufacturer);
        into.model = std::move(reader.read.model);
        into.firmware = std::move(reader.read.firmware);
        into.serial = std::move(reader.read.serial);
        into.hardwareId = std::move(reader.read.hardwareId);
    }
    return problem;
}

std::string ReadDefaultGateway(std::string_view envelope, CameraSettings& into) {
    GatewayReader reader;
    std::string problem = reader.Read(envelope);
    if (problem.empty()) {
        into.gateway = reader.gateway;
    }
    return problem;
}

std::string ReadHostname(std::string_view envelope, CameraSettings& into) {
    HostnameReader reader;
    std::string problem = reader.Read(envelope);
    if (problem.empty()) {
        into.hostname = std::move(reader.hostname);
    }
    return problem;
}

std::string ReadNetworkProtocols(std::string_view envelope, CameraSettings& into) {
    ProtocolsReader reader;
    std::string problem = reader.Read(envelope);
    if (problem.empty()) {
        into.http = std::move(reader.http);
    }
    return problem;
}

std::string ReadRebootNeeded(std::string_view envelope, bool& rebootNeeded) {
    RebootNeededReader reader;
    std::string problem = reader.Read(envelope);
    if (problem.empty() && !reader.rebootNeeded) {
        problem = "the answer does not say whether a reboot is needed";
    }
    if (problem.empty()) {
        rebootNeeded = *reader.rebootNeeded;
    }
    return problem;
}

std::string ReadEmptyAnswer(std::string_view envelope, std::string_view responseName) {
    EmptyReader reader(responseName);
    return reader.Read(envelope);
}

} // namespace vanmoor::onvif

#include "DnsAnswer.h"

#include "AnswerReader.h"

namespace vanmoor::onvif {

namespace {

class DnsReader final : public AnswerReader {
public:
    DnsReader() : AnswerReader("GetDNSResponse") {}
    DnsSettings dns;

private:
    void Open(const Path& path) override {
        if (At(path, {"tds:DNSInformation", "tt:DNSManual"}) ||
            At(path, {"tds:DNSInformation", "tt:DNSFromDHCP"})) {
            m_type.clear();
            m_address.reset();
        }
    }

    void Close(const Path& path, std::string_view text) override {
        if (At(path, {"tds:DNSInformation", "tt:FromDHCP"})) {
            const auto fromDhcp = BooleanText(text);
            if (!fromDhcp) {
                Refuse("FromDHCP is no boolean");
            }
            dns.fromDhcp = fromDhcp.value_or(false);
        } else if (At(path, {"tds:DNSInformation", "tt:SearchDomain"})) {
            const auto domain = WordText(text);
            if (!domain) {
                Refuse("a search domain with white space or control characters");
            } else if (dns.searchDomains.size() == kMaxSearchDomains) {
                Refuse("too many search domains");
            } else {
                dns.searchDomains.push_back(*domain);
            }
        } else if (At(path, {"tds:DNSInformation", "tt:DNSManual", "tt:Type"}) ||
                   At(path, {"tds:DNSInformation", "tt:DNSFromDHCP", "tt:Type"})) {
            m_type = text;
        } else if (At(path, {"tds:DNSInformation", "tt:DNSManual", "tt:IPv4Address"}) ||
                   At(path, {"tds:DNSInformation", "tt:DNSFromDHCP", "tt:IPv4Address"})) {
            m_address = settings::ParseDottedAddress(text);
            if (!m_address) {
                Refuse("a DNS server that is no IPv4 address");
            }
        } else if (At(path, {"tds:DNSInformation", "tt:DNSManual"})) {
            Add(dns.manualServers);
        } else if (At(path, {"tds:DNSInformation", "tt:DNSFromDHCP"})) {
            Add(dns.dhcpServers);
        }
    }

    void Add(std::vector<Ipv4Octets>& servers) {
        if (!m_address || (m_type != "IPv4" && !m_type.empty())) {
            return;
        }
        if (servers.size() == kMaxDnsServers) {
            Refuse("too many DNS servers");
            return;
        }
        servers.push_back(*m_address);
    }

    std::string m_type;
    std::optional<Ipv4Octets> m_address;
};

} // namespace

std::string ReadDns(std::string_view envelope, CameraSettings& into) {
    DnsReader reader;
    std::string problem = reader.Read(envelope);
    if (problem.empty()) {
        into.dns = std::move(reader.dns);
    }
    return problem;
}

} // namespace vanmoor::onvif

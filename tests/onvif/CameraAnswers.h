#pragma once

#include <string>
#include <string_view>

namespace vanmoor::onvif::test {

// A SOAP 1.2 envelope around `body`, which may use the prefixes tds and tt.
std::string Envelope(std::string_view body);

// Real-shaped answers of one camera at 192.0.2.10/24 (gateway 192.0.2.1, DNS 192.0.2.53 and
// 192.0.2.54, HTTP on port 80, named "Car park").
std::string DeviceInformationAnswer();
std::string NetworkInterfacesAnswer();
std::string DefaultGatewayAnswer();
std::string DnsAnswer();
std::string HostnameAnswer();
std::string NetworkProtocolsAnswer();
std::string ScopesAnswer();
// An answer with nothing in it: `<tds:NAME/>`.
std::string EmptyAnswer(std::string_view responseName);
std::string RebootNeededAnswer(bool rebootNeeded);

} // namespace vanmoor::onvif::test

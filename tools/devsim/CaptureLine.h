#pragma once

#include "Observation.h"

#include <string>

namespace vanmoor::devsim {

// One line (without line end) describing a received datagram:
//   SECONDS SOURCE:PORT > PORT KIND LENGTH HEX
// for example "1.250031 192.0.2.1:4022 > 4022 search 72 5043456469740200...", where SECONDS
// counts from `start` and HEX is every byte as two lowercase hexadecimal digits.
std::string CaptureLine(const ReceivedDatagram& datagram, Clock::time_point start);

// One line (without line end) describing a request to a device's web service:
//   SECONDS SOURCE > device INDEX OPERATION login LOGIN accepted|refused
// for example "2.004511 192.0.2.1 > device 3 GetHostname login digest accepted", LOGIN one of
// none, digest, wsse and both, OPERATION "-" for a request that is no SOAP envelope.
std::string CaptureLine(const ServiceRequest& request, Clock::time_point start);

} // namespace vanmoor::devsim

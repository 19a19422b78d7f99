#pragma once

#include "SimDevice.h"

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::devsim {

// A device description: key=value settings parted by blanks, for example
//   protocol=4022 mac=02:00:5e:00:00:01 ip=192.0.2.10 name="Front door" port=80
// A value with blanks goes in double quotes; no value can hold a double quote itself.
// Keys (defaults in brackets):
//   protocol 4022|32970 [4022]      mac aa:bb:cc:dd:ee:ff         ip, netmask [255.255.255.0],
//   gateway, dns1, dns2 [0.0.0.0]   name (18 bytes on 4022, 32 on 32970) [""]
//   port [80], port2 [0] (0..99999) dhcp 0|1|off|on [0]          type 0..255 [0] (4022)
//   code 8 hex digits [00000000] (4022)   version, brand, model, camera (4022) [""]
//   length 56..500 [220] (4022 reply length)   user, password [admin, admin] (32970 and the
//   web service)
//   reply broadcast|subnet|unicast, delay MS: this device's own reply mode and delay
// WS-Discovery (protocol=3702 alone, or with a device protocol: protocol=4022,3702; defaults
// in WsdMessages.h): endpoint urn:uuid:...   types, scopes, xaddrs: blank-separated lists
//   metadata N [1]   wsd_hostile none|malformed|oversized|doctype|twice|foreign-relates [none]
//   wsd_probes all|unicast [all]   wsd_ignore N: the first N probes never heard [0]
// The web service of a WS-Discovery device (SOAP device service over HTTP on its ip and port, at
// the path of its first XAddrs; defaults in SimDevice.h):
//   service on|off [off]   login digest|wsse|both [both]: HTTP Digest, WS-Security
//   UsernameToken PasswordDigest, or either   clock SECONDS: its clock ahead of the host's [0]
//   reboot_needed on|off [off]: a new address waits for SystemReboot   reboot_pause MS [3000]
//   changes apply|ignore|drop [apply]: take changes, say OK and keep the settings, or close the
//   connection   service_hostile none|huge|endless|drip|doctype|redirect|odd-fault [none]
//   serial, hardware: the serial number and hardware id it tells [SIM0000001, HW-1]
// Throws std::invalid_argument naming the faulty setting. With `requireIdentity`, mac and ip
// must be among the settings; everything else starts from `base`.
SimDevice ParseDevice(std::string_view description, const SimDevice& base = SimDevice{},
                      bool requireIdentity = true);

// One device description per line; blank lines and lines starting with '#' are skipped. Errors
// name `sourceName` and the line.
std::vector<SimDevice> ReadDeviceFile(std::istream& in, const std::string& sourceName);
std::vector<SimDevice> LoadDeviceFile(const std::string& path);

} // namespace vanmoor::devsim

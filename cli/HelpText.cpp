#include "HelpText.h"

#include <map>

namespace vanmoor::cli {

namespace {

constexpr const char* kProgram = R"(Usage: vanmoor [--log[=FILE]] COMMAND [OPTIONS]

Finds cameras and similar devices on the local networks by UDP broadcast and WS-Discovery
and changes their network settings.

Commands:
  interfaces        the local addresses searched, with interface name and prefix length
  scan              search once and list every device
  show DEVICE       every field of one device (MAC, endpoint or IP address)
  set DEVICE ...    change a device's network settings (cameras too), then verify
  open MAC|ENDPOINT open a device's web page in the browser
  watch             search again and again and print what changes
  check             find duplicate addresses, unreachable devices and bad settings
  assign ...        give many devices their own addresses, then verify

Options before the command:
  --log             the library's diagnostic log on standard error
  --log=FILE        ... appended to FILE
  -q, --quiet       no progress line on standard error
  -h, --help        this text; 'vanmoor COMMAND --help' tells about one command
  --version         the program's version

Exit status: 0 success, 1 the operation failed, 2 usage error, 3 no usable local interface.
See vanmoor(1).
)";

constexpr const char* kSearchOptions = R"(
Search options:
  --interface NAME|ADDRESS   list only the devices found through one interface (every
                             address of it); the requests still go out on every one
                             (default: all)
  --wait MS                  how long a search waits for answers (default 1500)
  --repeat N                 N searches merged by MAC (WS-Discovery cameras by endpoint),
                             for lossy networks (default 1)
  --output FORMAT            table, json, jsonl or csv (default: table on a terminal,
                             else json)
  -q, --quiet                no progress line on standard error
)";

constexpr const char* kProtocolHelp = R"(
  --protocol LIST   the protocols to search, comma-separated: 4022, 32970 (the library's
                    search) and 3702 (WS-Discovery; it waits as long as --wait)
                    (default: all three)
)";

constexpr const char* kCameraHelp = R"(
  --user NAME       the camera user; the password from --password-file FILE, else
                    VANMOOR_PASSWORD, else a prompt without echo on a terminal
  --credentials-file FILE
                    instead of --user: a line 'WHO USER PASSWORD' per camera (as for assign)
  --accept-camera-certificate
                    HTTPS: accept a camera's own (self-signed) certificate
)";

const std::map<std::string, std::string>& Texts() {
    static const std::map<std::string, std::string> texts = {
        {"", kProgram},
        {"interfaces", R"(Usage: vanmoor interfaces [--output FORMAT]

Lists the local IPv4 addresses that the library searches through, each with the name of its
interface and its prefix length. Exit status 3 when there is none.
)"},
        {"scan", std::string(R"(Usage: vanmoor scan [OPTIONS]

Searches and lists every device that answered: the library's search on ports 4022 and 32970
and, beside it, a WS-Discovery scan (port 3702). A camera that answers both, on the same
address through the same local address, is listed once.

  --fields a,b,c    these fields, in this order
  --all-fields      every field
  --sort FIELD      sort by FIELD (addresses by their numbers)
  --target ADDRESS  send the WS-Discovery probe by unicast to ADDRESS, for networks that
                    drop multicast
)") + kProtocolHelp + R"(
Fields: mac ip netmask gateway port dhcp name protocol version model local_address
        (these eleven are the default of json, jsonl and csv, with protocols endpoint
        xaddrs types scopes hardware location when WS-Discovery is searched; the table
        shows mac ip port dhcp protocol name to fit 80 columns), and dns1 dns2 type
        device_code brand camera_name metadata_version. A camera found by WS-Discovery
        alone has protocol 3702, ip from its XAddrs, name from its name scope and mac
        null; protocols lists every protocol a device answered ("4022,3702").
)" + kSearchOptions},
        {"show",
         std::string(R"(Usage: vanmoor show MAC|ENDPOINT|IP [--user NAME [--password-file FILE] |
                    --credentials-file FILE] [--accept-camera-certificate] [OPTIONS]

Searches and prints every field of the device with the MAC address MAC
(like 02:00:5e:00:01:01), the WS-Discovery endpoint reference ENDPOINT
(like urn:uuid:5ca1ab1e-0000-4000-8000-02005e000101) or the IPv4 address IP. Exit status 1
when it does not answer.

With --user, a camera that answers WS-Discovery is read through its device service first
(the password as for set), and its netmask, gateway, DNS, DHCP, web port, maker, model,
firmware, hostname, serial and hardware id are printed as read. Exit status 1 when the
camera refuses the login, has no device service or does not answer at its XAddrs.
)") + kCameraHelp +
             kProtocolHelp + kSearchOptions},
        {"set",
         std::string(
             R"(Usage: vanmoor set MAC|ENDPOINT|IP [SETTINGS] [--user NAME [--password-file FILE]]
                  [--dry-run] [--no-verify] [--verify-wait SECONDS] [OPTIONS]

Changes the network settings of the device with the MAC address MAC (or the endpoint
reference ENDPOINT, or the IPv4 address IP). Settings not given keep the device's current
values. Everything is checked before anything is sent, with the rules of the Kestrun dialog;
then the command is sent and the device searched again until it answers with the new
settings (--repeat times, at least twice).

A camera found by WS-Discovery alone is changed through its device service with --user: it
is read first; name, DNS, gateway and port go first, the address last; a camera that needs
it is restarted. Exit status 0 only when the camera is seen again, at its new address, with
every new setting (within --verify-wait SECONDS, default 120), or already had them.
--dry-run prints the steps that would be sent; a camera with DHCP on keeps it unless
--dhcp off. --accept-camera-certificate accepts a camera's own HTTPS certificate.

Settings:
  --ip A  --netmask M  --gateway G  --dns1 A  --dns2 A
                    IPv4 addresses; the gateway must lie in the address's subnet or be
                    0.0.0.0; the netmask may not be 0.0.0.0 or have holes; neither the
                    address nor the gateway may be the subnet's network or broadcast
                    address, or one no device can use (multicast, loopback, 0.x.x.x,
                    240.0.0.0 and up); the address may not end in 0 or 255
  --name TEXT       at most 18 bytes of UTF-8 (32 for a device on port 32970); a name not
                    given goes back byte for byte as the device sent it
  --port N          web port, 0 to 65535
  --dhcp on|off

Credentials, for devices that answer on port 32970 and cameras:
  --user NAME       the user name
  --password-file FILE
                    the password is the file's first line ('-': standard input); else the
                    variable VANMOOR_PASSWORD; else a prompt without echo on a terminal.
                    Never give a password as an argument. An empty file is refused.
  --allow-empty-password
                    send the empty password of an empty file (--password-file /dev/null)

  --dry-run         check and print the settings record that would be sent; send nothing
  --no-verify       send and do not search again

When the device already shows every value, nothing is sent.
)") + kSearchOptions},
        {"check",
         std::string(
             R"(Usage: vanmoor check [--user NAME [--password-file FILE] | --credentials-file FILE]
                     [OPTIONS]

Searches (--repeat N merges N searches by MAC) and prints one row per finding: mac ip name
severity finding message endpoint. A camera that answers WS-Discovery and a device protocol
counts once; one found by WS-Discovery alone has mac null and its netmask, gateway and DHCP
state are not judged unless --user reads them through its device service (options as for
show; --concurrency N cameras are read at once, 8 unless given, 1 to 64; a camera that cannot
be read is named on standard error). Findings:
  duplicate address  (error) devices answer with the same address, or use one of this host's
  unreachable        (error) the address is outside the subnet of the local address the
                     device was found through; the message names the subnet that would fit
  bad settings       (error) gateway outside the device's subnet (0.0.0.0 is none), a netmask
                     that is not contiguous or is 0.0.0.0, the subnet's network or broadcast
                     address, an address no device can use (multicast, loopback, ...)
  duplicate name     (warning) devices with the same name
Exit status 1 when any finding is an error.
)") + kProtocolHelp +
             kSearchOptions},
        {"assign",
         std::string(
             R"(Usage: vanmoor assign --from ADDRESS --netmask M [--gateway G] [--dns1 A] [--dns2 A]
                     (--mac A,B,... | --all | --conflicts) [--name-pattern TEXT]
                     [--retries N] [--dry-run] [--allow-other-subnet]
                     [--user NAME [--password-file FILE] | --credentials-file FILE]
                     [--verify-wait SECONDS] [--concurrency N] [OPTIONS]

With credentials, first reads every camera found by WS-Discovery through its device service;
a camera read is then chosen and planned like every other device. Gives each chosen device the
next free address from ADDRESS on in its subnet, skipping addresses that any other device holds
now (so that no lost or refused command can leave two devices on one address; a camera not read
holds its address but is given none), this host's addresses, the network and broadcast
addresses and the gateway; refuses a plan that does not fit, addresses no device can use, and a move out of the
subnet through which this host reaches a device. Then sends the settings, searches again, and
sends again to devices that do not show them yet, at most --retries times (default 2). A device
on port 32970 that answers with its old settings is reported as refused and not sent to again;
one that does not answer is searched for again. Cameras are changed through their device
service and verified as 'vanmoor set' does, several at once, beside the other devices.

  --mac A,B,...     these devices (MACs, or a camera's endpoint reference), in this order
  --all             every device found, by MAC (a camera found by WS-Discovery alone only
                    once read)
  --conflicts       every device with an error-level finding of 'vanmoor check', by MAC
  --gateway G       the gateway of all, 0.0.0.0 for none; default: each device keeps its own,
                    which must then lie in the new subnet
  --dns1/--dns2 A   default: each device keeps its own
  --name-pattern TEXT
                    name the devices in order, {n} or {n:02} is the running number from 1
                    ("Cam-{n:02}" gives Cam-01, Cam-02, ...); default: names are kept
  --dry-run         print the plan (mac ip planned_ip netmask gateway name reachable); send
                    nothing
  --allow-other-subnet
                    move devices out of the subnet this host reaches them through (they can
                    then be reached only once the host moves too; 'reachable' tells)
  --user, --password-file, --allow-empty-password
                    one user and password for cameras and devices on port 32970, as for
                    'vanmoor set'
  --credentials-file FILE
                    a line 'WHO USER PASSWORD' per device instead, WHO a MAC, an endpoint
                    reference, an IPv4 address or 'default'; the password is the rest of the
                    line; '#' lines are skipped. Readable by its owner alone (chmod 600)
  --verify-wait SECONDS
                    how long a camera may take to show its new settings (default 120)
  --concurrency N   cameras read or changed at once, 1 to 64 (default 8)
  --accept-camera-certificate
                    accept a camera's HTTPS certificate this host does not trust

Prints one row per device: mac name planned_ip result final_ip sends reachable endpoint
detail, where result is changed, unchanged, not found, refused, kept (a camera said OK but
kept its settings) or failed to send. Exit status 0 only when every chosen device changed. On a
terminal a progress line per camera read and per device done goes to standard error.
)") + kSearchOptions},
        {"open", std::string(R"(Usage: vanmoor open MAC|ENDPOINT [--print] [--any-host] [OPTIONS]

Opens http://ADDRESS:PORT of the device in the default browser (xdg-open on Linux); none when
its port lies outside 0..65535. A camera found by WS-Discovery alone opens the scheme, host and
port of its first XAddr on the address it is listed with: http://ADDRESS:PORT/. One that names
a page on another host only says which host.

  --print           only print the address
  --any-host        open a camera's page on another host than its address all the same
)") + kProtocolHelp + kSearchOptions},
        {"watch", R"(Usage: vanmoor watch [--interval S] [--count N] [OPTIONS]

Searches again and again and prints one line per change, matched by MAC (by endpoint for a
camera found by WS-Discovery alone): a new device, a device gone (no answer to two searches in a row), a device whose address, name or port
changed. With WS-Discovery it also listens for Hello and Bye between searches, on every
interface as it comes and goes: a camera that says Hello is new at once and gone like any
device when two searches do not find it; a camera known from WS-Discovery alone that says Bye
is gone at once (a device that answers a device protocol only when its searches say so; an
announcement lost to a flood is told on standard error). Ends on Ctrl-C, SIGTERM or SIGHUP, or when nobody reads its output any more. A
search that fails (an interface gone) is told on standard error; the watch goes on.

  --interval S      seconds between searches (default 2, fractions allowed)
  --count N         stop after N searches (default 0: until Ctrl-C)
  --protocol LIST   as for scan
  --interface NAME|ADDRESS  --wait MS  --repeat N  -q, --quiet
                    as for scan; with --repeat each round is N searches merged
  --output FORMAT   table, json, jsonl or csv (default: table on a terminal, else jsonl)
)"},
    };
    return texts;
}

} // namespace

const char* HelpText(const std::string& command) {
    const auto found = Texts().find(command);
    return found == Texts().end() ? nullptr : found->second.c_str();
}

} // namespace vanmoor::cli

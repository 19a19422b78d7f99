#include "ReplyBuilder.h"

#include <algorithm>
#include <charconv>

namespace vanmoor::devsim {

namespace {

// Decimal digits in a five-byte field, the unused bytes left zero.
void PutPortText(Bytes& out, std::size_t offset, std::int32_t port) {
    char digits[16] = {};
    const auto end = std::to_chars(digits, digits + sizeof digits, port).ptr;
    PutText(out, offset, std::string_view(digits, static_cast<std::size_t>(end - digits)), 5);
}

Bytes BuildReply4022(const SimDevice& device) {
    // Fields past the chosen length are cut off; a longer reply is zero after byte 220.
    Bytes reply(std::max(kFullReplyLength4022, device.replyLength), 0);
    PutText(reply, 0, "IPCam", 5);
    // Byte 5 stays zero: a reply with it set is not accepted.
    PutArray(reply, 10, device.ip);
    PutArray(reply, 14, device.mac);
    PutArray(reply, 20, device.netmask);
    PutArray(reply, 27, device.gateway);
    PutText(reply, 32, device.name, kNameWidth4022);
    PutPortText(reply, 50, device.webPort);
    PutPortText(reply, 55, device.secondPort);
    PutArray(reply, 61, device.dns1);
    PutArray(reply, 65, device.dns2);
    reply[69] = device.dhcp ? 1 : 0;
    reply[70] = device.type;
    PutArray(reply, 71, device.code);
    PutText(reply, 75, device.version, kVersionWidth);
    PutText(reply, 91, device.brand, kBrandWidth);
    PutText(reply, 123, device.model, kModelWidth);
    PutText(reply, 156, device.cameraName, kCameraNameWidth);
    reply.resize(device.replyLength);
    return reply;
}

Bytes BuildReply32970(const SimDevice& device) {
    Bytes reply(328, 0);
    PutText(reply, 0, "3297", 4);
    PutText(reply, 4, "V1.00", 8);
    reply[12] = 328 & 0xff;
    reply[13] = 328 >> 8;
    reply[14] = 0x02;
    PutArray(reply, 15, device.mac);
    PutArray(reply, 21, device.ip);
    PutArray(reply, 25, device.netmask);
    PutArray(reply, 29, device.gateway);
    PutArray(reply, 33, device.dns1);
    PutArray(reply, 37, device.dns2);
    reply[41] = device.dhcp ? 1 : 0;
    PutLittleEndian32(reply, 42, static_cast<std::uint32_t>(device.webPort));
    PutLittleEndian32(reply, 46, static_cast<std::uint32_t>(device.secondPort));
    PutText(reply, 173, device.version, kVersionWidth);
    PutText(reply, 197, device.brand, kBrandWidth);
    PutText(reply, 229, device.model, kModelWidth);
    PutText(reply, 261, device.name, kNameWidth32970);
    return reply;
}

} // namespace

Bytes BuildReply(const SimDevice& device) {
    return device.protocol == Protocol::Port4022 ? BuildReply4022(device) : BuildReply32970(device);
}

} // namespace vanmoor::devsim

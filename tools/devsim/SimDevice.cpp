#include "SimDevice.h"

#include <stdexcept>

namespace vanmoor::devsim {

namespace {

void CheckWidth(const std::string& text, std::size_t width, const char* what) {
    if (text.size() > width) {
        throw std::invalid_argument(std::string(what) + " longer than " + std::to_string(width) +
                                    " bytes");
    }
}

void CheckPort(std::int32_t port, const char* what) {
    if (port < 0 || port > kMaxPort) {
        throw std::invalid_argument(std::string(what) + " outside 0.." + std::to_string(kMaxPort));
    }
}

} // namespace

void CheckDevice(const SimDevice& device) {
    CheckWidth(device.name, NameWidth(device.protocol), "name");
    CheckWidth(device.version, kVersionWidth, "version");
    CheckWidth(device.brand, kBrandWidth, "brand");
    CheckWidth(device.model, kModelWidth, "model");
    CheckWidth(device.cameraName, kCameraNameWidth, "camera name");
    CheckPort(device.webPort, "port");
    CheckPort(device.secondPort, "second port");
    if (device.replyLength < kMinReplyLength4022 || device.replyLength > kMaxReplyLength4022) {
        throw std::invalid_argument("reply length outside " + std::to_string(kMinReplyLength4022) +
                                    ".." + std::to_string(kMaxReplyLength4022));
    }
    if (device.replyDelay && device.replyDelay->count() < 0) {
        throw std::invalid_argument("negative reply delay");
    }
    if (device.service.enabled && !device.wsd.enabled) {
        throw std::invalid_argument("the web service needs protocol 3702");
    }
    if (device.service.enabled && (device.webPort < 1 || device.webPort > 65535)) {
        throw std::invalid_argument("port outside 1..65535 for the web service");
    }
}

} // namespace vanmoor::devsim

#include "SocketLayer.h"

namespace vanmoor::platform {

// Sockets are ready in every process here.
SocketLayer::SocketLayer() = default;

SocketLayer::~SocketLayer() = default;

} // namespace vanmoor::platform

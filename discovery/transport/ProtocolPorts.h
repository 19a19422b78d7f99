#pragma once

namespace vanmoor {

// UDP ports of the two discovery protocols; each endpoint sends to and receives on one of them.
inline constexpr int kPort4022 = 4022;
inline constexpr int kPort32970 = 32970;

} // namespace vanmoor

#pragma once

namespace vanmoor {

// Port-4022 protocol: the search request and the settings command start with this prefix;
// device replies start with "IPCam".
inline constexpr int kPort4022 = 4022;
inline constexpr char kPcEditPrefix[] = "PCEdit";

} // namespace vanmoor

#pragma once

#include "QualifiedName.h"

#include <string>
#include <string_view>

namespace vanmoor::wsd {

// The Probe for devices of `type`, as sent to the multicast group or to one address: a SOAP
// 1.2 envelope with the type's namespace declared for its QName.
std::string BuildProbe(const QualifiedName& type, std::string_view messageId);

} // namespace vanmoor::wsd

#pragma once

#include "SimDevice.h"
#include "SoapRequest.h"

#include <string>
#include <string_view>

namespace vanmoor::devsim {

// True for the operations of the device service that change a setting: SetNetworkInterfaces,
// SetNetworkDefaultGateway, SetDNS, SetNetworkProtocols and SetScopes.
bool IsChangeOperation(std::string_view operation);

// The device with the request's change made. SetScopes replaces the configurable scopes and
// takes the device's name from the name scope. Throws std::invalid_argument naming what the
// request holds wrong, or what the device cannot take.
SimDevice Changed(const SoapRequest& request, SimDevice device);

// The answer body of a change; `rebootNeeded` only for SetNetworkInterfaces.
std::string ChangeAnswer(std::string_view operation, bool rebootNeeded);

} // namespace vanmoor::devsim

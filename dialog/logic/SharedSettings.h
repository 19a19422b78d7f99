#pragma once

#include "AddressText.h"
#include "DecimalText.h"
#include "SettingsForm.h"
#include "TextTrim.h"
#include "Utf8Text.h"

// The dialog uses the rules it shares with the command line under their own names.
namespace kestrun {

using vanmoor::settings::CheckNameFits;
using vanmoor::settings::CheckSettingsForm;
using vanmoor::settings::FormCheck;
using vanmoor::settings::FormProblem;
using vanmoor::settings::FormProblemText;
using vanmoor::settings::Ipv4Octets;
using vanmoor::settings::kMaxNameChars;
using vanmoor::settings::kMaxPort;
using vanmoor::settings::LeadingDecimal;
using vanmoor::settings::MacBytes;
using vanmoor::settings::MacColonText;
using vanmoor::settings::MacFromDashedText;
using vanmoor::settings::MakeAuthNetSettings;
using vanmoor::settings::MakeNetSettings;
using vanmoor::settings::OctetsFromDottedText;
using vanmoor::settings::SettingsForm;
using vanmoor::settings::TrimBlanks;
using vanmoor::settings::Utf16FromAscii;
using vanmoor::settings::Utf16FromUtf8;
using vanmoor::settings::Utf8FromUtf16;

} // namespace kestrun

#include "ExtraTextTable.h"

#include "SharedSettings.h"

#include <algorithm>
#include <limits>

namespace kestrun {

namespace {

constexpr std::array<std::u16string_view, kExtraTextCount> kDefaults = {
    u"duplicate address",
    u"unreachable",
    u"bad settings",
    u"duplicate name",
    u"The device took the new settings.",
    u"The device still shows its old settings: it did not receive the command. Please try again.",
    u"The new settings were not applied: the device did not accept the user name or password, "
    u"or did not receive the command.",
    u"The device took the new settings, but its address %1 is on subnet %2, which this computer "
    u"is not on: its web page cannot be opened from here. The list shows it anyway.",
    u"The device no longer answers the search.",
    u"The device reports web port %1, which a web browser cannot open.",
    u"The settings could not be sent. The log file tells why.",
    u"Assign addresses...",
    u"Assign addresses",
    u"First address",
    u"Name pattern",
    u"Devices",
    u"selected devices",
    u"devices with a problem (marked rows)",
    u"all devices",
    u"An empty gateway, empty DNS fields and an empty name pattern keep each device's own. In a "
    u"pattern, {n} is "
    u"the device's number, {n:02} the number with two digits.",
    u"Enter the first address and the netmask.",
    u"No device is chosen.",
    u"User name",
    u"Password",
    u"Apply",
    u"Close",
    u"Current address",
    u"Planned address",
    u"Planned name",
    u"Result",
    u"Final address",
    u"Export list...",
    u"CSV",
    u"JSON",
    u"The list could not be written to %1: %2",
    u"changed",
    u"unchanged",
    u"not found",
    u"refused",
    u"failed to send",
    u"kept",
    u"UserName",
    u"Please enter an integer.",
    u"Please enter no more than 18 characters.",
    u"Please enter an integer between 0 and 65535.",
    u"The name is longer than the device's settings command carries: at most 18 bytes of UTF-8, "
    u"or 32 for a device that takes a user name and password.",
    u"The device's name may be longer than its answer shows. Please enter the whole name, so "
    u"that it is not cut.",
    u"Finds and sets up network devices",
    u"The addresses are still being assigned. The window closes when all devices are done.",
    u"No gateway",
    u"Allow moving devices to another subnet",
    u"Enter the netmask.",
    u"A chosen device takes a user name and password: enter them first.",
    u"WS-Discovery",
    u"Settings of this camera change on its own web page.",
    u"This camera names a page on the host %1, not on its own address. The page is not opened.",
    u"Please enter all four numbers of the address, or leave the field empty.",
    u"The search after sending the settings failed: whether the device took them is not known. "
    u"Please search again.",
    u"Read",
    u"Reading the camera...",
    u"The camera could not be read: %1",
    u"The camera offers no device service: %1",
    u"The camera has %1",
    u"Sending the new settings to the camera...",
    u"The camera restarts to take its new address...",
    u"Waiting for the camera to show itself with its new settings...",
    u"Reading the camera again to verify...",
    u"The camera shows the new settings.",
    u"The camera already has these settings: nothing was sent.",
    u"The camera said OK but kept its settings.",
    u"The camera refused the user name or password: nothing was changed.",
    u"The change of the camera failed: %1",
    u"The camera was not seen with the new settings: %1",
    u"The change cannot be sent to the camera: %1",
    u"Read cameras",
    u"Reading the cameras...",
    u"Cameras found by WS-Discovery are planned once read: enter the user name and password and "
    u"read the cameras.",
    u"Left out, not read: %1",
    u"the camera refused the user name and password",
    u"no answer from its device service",
    u"no device service",
    u"The cameras are still being read. The window closes when they are done.",
};

std::size_t Slot(ExtraText entry) {
    return static_cast<std::size_t>(entry);
}

vanmoor::commission::MessagePattern PatternAt(std::size_t slot) {
    return static_cast<vanmoor::commission::MessagePattern>(slot);
}

} // namespace

ExtraTextTable::ExtraTextTable() {
    std::copy(kDefaults.begin(), kDefaults.end(), m_Texts.begin());
    for (std::size_t i = 0; i < m_Patterns.size(); ++i) {
        m_Patterns[i] = vanmoor::commission::PatternText(PatternAt(i));
    }
}

const std::u16string& ExtraTextTable::Text(ExtraText entry) const {
    return m_Texts.at(Slot(entry));
}

void ExtraTextTable::Replace(ExtraText entry, std::u16string text) {
    m_Texts.at(Slot(entry)) = std::move(text);
}

std::u16string_view ExtraTextTable::DefaultText(ExtraText entry) {
    return kDefaults.at(Slot(entry));
}

void ExtraTextTable::ReplacePattern(vanmoor::commission::MessagePattern pattern,
                                    std::u16string text) {
    m_Patterns.at(static_cast<std::size_t>(pattern)) =
        Utf8FromUtf16(text, std::numeric_limits<std::size_t>::max());
}

std::u16string ExtraTextTable::Message(const vanmoor::commission::MessageText& message) const {
    return Utf16FromUtf8(vanmoor::commission::FillMessage(
        message, [this](vanmoor::commission::MessagePattern pattern) -> std::string_view {
            return m_Patterns.at(static_cast<std::size_t>(pattern));
        }));
}

std::u16string ExtraTextTable::DefaultPattern(vanmoor::commission::MessagePattern pattern) {
    return Utf16FromUtf8(vanmoor::commission::PatternText(pattern));
}

} // namespace kestrun

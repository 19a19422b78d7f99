#pragma once

#include "ControlId.h"

namespace kestrun {

enum class ControlKind {
    AddressField,
    Button,
    DefaultButton,
    DropDown,
    Edit,         // centred, bordered
    DigitsEdit,   // centred, bordered, digits only
    ReadOnlyEdit, // centred, sunken, read-only, shown in upper case
    Label,
    List,
    Radio,
};

// One control of a dialog template: position and size in dialog units, and its template text.
struct ControlTemplate {
    ControlId id;
    ControlKind kind;
    int x;
    int y;
    int width;
    int height;
    const char* text;
    const char* objectName;
};

inline constexpr int kMainDialogWidth = 359;
inline constexpr int kMainDialogHeight = 342;
inline constexpr const char* kMainDialogCaption = "Kestrun V2.18";

inline constexpr const char* kTemplateHelpText = "To Change Device Name, IP address, and Gateway:\n"
                                                 "1.Select the device on the left side.\n"
                                                 "2.Change network parameter on the right side.\n"
                                                 "3.Press Submit button.\n"
                                                 "4.Press Search Device to re-search again.\n"
                                                 "5.Double click the device to open it.";

// The main dialog's controls in creation order, which is also their tab order: it follows the
// layout, the list, the interface choice, the fields from top to bottom, then Submit, the search
// and Exit. Each label comes before the control it names.
inline constexpr ControlTemplate kMainDialogControls[] = {
    {ControlId::DeviceListsLabel, ControlKind::Label, 9, 6, 80, 10,
     "Device lists:", "deviceListsLabel"},
    {ControlId::DeviceList, ControlKind::List, 7, 19, 205, 212, "", "deviceList"},
    {ControlId::InterfaceChoice, ControlKind::DropDown, 254, 19, 89, 132, "", "interfaceChoice"},
    {ControlId::StaticRadio, ControlKind::Radio, 254, 45, 46, 19, "Static", "staticRadio"},
    {ControlId::DhcpRadio, ControlKind::Radio, 306, 45, 42, 19, "DHCP", "dhcpRadio"},
    {ControlId::NameLabel, ControlKind::Label, 216, 74, 36, 8, "Name", "nameLabel"},
    {ControlId::NameField, ControlKind::Edit, 253, 70, 92, 14, "", "nameField"},
    {ControlId::IpLabel, ControlKind::Label, 216, 89, 35, 8, "IP", "ipLabel"},
    {ControlId::IpField, ControlKind::AddressField, 253, 84, 92, 14, "", "ipField"},
    {ControlId::NetmaskLabel, ControlKind::Label, 216, 102, 32, 8, "Netmask", "netmaskLabel"},
    {ControlId::NetmaskField, ControlKind::AddressField, 253, 99, 92, 14, "", "netmaskField"},
    {ControlId::GatewayLabel, ControlKind::Label, 216, 115, 32, 8, "Gateway", "gatewayLabel"},
    {ControlId::GatewayField, ControlKind::AddressField, 253, 113, 92, 14, "", "gatewayField"},
    {ControlId::Dns1Label, ControlKind::Label, 216, 131, 34, 8, "DNS 1", "dns1Label"},
    {ControlId::Dns1Field, ControlKind::AddressField, 253, 128, 92, 14, "", "dns1Field"},
    {ControlId::Dns2Label, ControlKind::Label, 216, 146, 34, 8, "DNS 2", "dns2Label"},
    {ControlId::Dns2Field, ControlKind::AddressField, 253, 143, 92, 14, "", "dns2Field"},
    {ControlId::PortLabel, ControlKind::Label, 216, 161, 35, 10, "Port1", "portLabel"},
    {ControlId::PortField, ControlKind::DigitsEdit, 253, 158, 92, 14, "", "portField"},
    {ControlId::MacLabel, ControlKind::Label, 216, 176, 33, 9, "MAC", "macLabel"},
    {ControlId::MacField, ControlKind::ReadOnlyEdit, 253, 173, 92, 14, "", "macField"},
    {ControlId::UserNameLabel, ControlKind::Label, 216, 191, 34, 11, "UserName", "userNameLabel"},
    {ControlId::UserNameField, ControlKind::Edit, 253, 187, 92, 14, "", "userNameField"},
    {ControlId::PasswordLabel, ControlKind::Label, 216, 204, 33, 10, "Password", "passwordLabel"},
    {ControlId::PasswordField, ControlKind::Edit, 253, 202, 92, 14, "", "passwordField"},
    {ControlId::ReadButton, ControlKind::Button, 295, 220, 50, 14, "Read", "readButton"},
    {ControlId::SubmitButton, ControlKind::DefaultButton, 295, 238, 50, 14, "Submit",
     "submitButton"},
    {ControlId::SearchButton, ControlKind::Button, 131, 238, 81, 14, "Search IPCam",
     "searchButton"},
    {ControlId::ProgressLabel, ControlKind::Label, 218, 242, 66, 13, "Static", "progressLabel"},
    {ControlId::HelpText, ControlKind::Label, 10, 258, 202, 66, kTemplateHelpText, "helpText"},
    {ControlId::Exit, ControlKind::Button, 295, 301, 50, 14, "Exit", "exitButton"},
    // Shown while a WS-Discovery camera's fields are locked, where the credentials are then
    // hidden; made last, so that it lies above them.
    {ControlId::WsdNotice, ControlKind::Label, 216, 187, 129, 46, "", "wsdNotice"},
    {ControlId::CameraProgress, ControlKind::Label, 216, 256, 129, 30, "", "cameraProgress"},
};

} // namespace kestrun

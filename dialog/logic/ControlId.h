#pragma once

namespace kestrun {

// The controls of the main dialog, by their template identifiers.
enum class ControlId : int {
    Exit = 2,
    IpField = 1001,
    SubmitButton = 1006,
    GatewayField = 1014,
    MacField = 1017,
    NameField = 1019,
    PortField = 1020,
    UserNameField = 1021,
    PasswordField = 1022,
    NetmaskField = 1023,
    Dns1Field = 1024,
    Dns2Field = 1025,
    StaticRadio = 1027,
    DhcpRadio = 1028,
    DeviceList = 1031,
    HelpText = 1033,
    DeviceListsLabel = 1035,
    NameLabel = 1036,
    IpLabel = 1037,
    NetmaskLabel = 1038,
    GatewayLabel = 1039,
    Dns1Label = 1040,
    Dns2Label = 1041,
    PortLabel = 1042,
    MacLabel = 1043,
    UserNameLabel = 1045,
    PasswordLabel = 1046,
    SearchButton = 1050,
    InterfaceChoice = 1054,
    ProgressLabel = 1055,
    // Added after the template's own controls: why a WS-Discovery camera's fields are locked.
    WsdNotice = 1056,
    // Reads a camera found by WS-Discovery through its device service.
    ReadButton = 1057,
    // What a camera's read or change is doing, under Submit: its lines are longer than the
    // search's progress label holds.
    CameraProgress = 1058,
};

} // namespace kestrun

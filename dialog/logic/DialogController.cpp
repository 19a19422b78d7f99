#include "DialogController.h"

#include "CameraForm.h"
#include "LibraryDevices.h"
#include "ListExport.h"
#include "ProgramLog.h"
#include "ReadCamera.h"
#include "SettingsRule.h"
#include "SubmitCheck.h"
#include "WsdEndpointWatch.h"
#include "XAddrWebPage.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <memory>
#include <sstream>

namespace kestrun {

namespace {

constexpr ControlId kAddressFields[] = {ControlId::IpField, ControlId::GatewayField,
                                        ControlId::NetmaskField, ControlId::Dns1Field,
                                        ControlId::Dns2Field};

using vanmoor::commission::CameraReadEnd;
using vanmoor::commission::ChangeProgress;
using vanmoor::commission::ChangeVerdict;

constexpr std::size_t kWholeText = std::numeric_limits<std::size_t>::max();

std::u16string UpperCaseAscii(const std::string& text) {
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return Utf16FromAscii(upper);
}

} // namespace

DialogController::DialogController(const LibraryApi& api, DialogView& view,
                                   std::unique_ptr<WsdScan> wsdScan)
    : m_Api(api), m_View(view), m_WsdScan(std::move(wsdScan)),
      m_Search(m_Api, m_Texts, m_Choice, m_Devices, m_WsdScan.get()),
      m_LanguageLoader(std::make_unique<LanguageLoader>(m_Texts, m_ExtraTexts, view)),
      m_Editor(std::make_unique<DeviceEditor>(m_Api)) {
    ProgramLog().ReadLogConfig();
}

DialogController::~DialogController() = default;

void DialogController::OnInitDialog() {
    m_LanguageLoader->Apply();
    m_View.SetControlText(ControlId::UserNameLabel, m_ExtraTexts.Text(ExtraText::UserNameLabel));
    m_View.SetControlText(ControlId::PasswordLabel, m_ExtraTexts.Text(ExtraText::AssignPassword));
    m_View.ClearField(ControlId::PortField);
    m_View.ShowControl(ControlId::StaticRadio, false);
    m_View.ShowControl(ControlId::DhcpRadio, false);
    SetCredentialsVisible(false);
    m_View.ShowControl(ControlId::ProgressLabel, false);
    m_View.ShowControl(ControlId::CameraProgress, false);
    m_View.SetControlText(ControlId::WsdNotice, m_ExtraTexts.Text(ExtraText::WsdReadOnly));
    m_View.ShowControl(ControlId::WsdNotice, false);
    m_View.SetControlText(ControlId::ReadButton, m_ExtraTexts.Text(ExtraText::CameraRead));
    m_View.ShowControl(ControlId::ReadButton, false);
    m_View.ArrangeControls();

    m_Api.init();
    m_Api.setIPSearch(0, "");
    OnSearch();
}

void DialogController::OnCancel() {
    if (m_Closed) {
        return;
    }
    m_Closed = true;
    ProgramLog().WriteLog("CIpEditDlg::OnCancel() begin\n");
    // A search still waiting must end before the library goes away; likewise a batch of the
    // assign dialog.
    m_View.StopBackgroundWork();
    m_View.CloseAssignDialog();
    m_AssignOpen = false;
    m_Api.deinit();
    ProgramLog().WriteLog("CIpEditDlg::OnCancel() end\n");
    m_View.EndDialog();
}

void DialogController::OnDestroy() {
    ProgramLog().WriteLog("CIpEditDlg::~CIpEditDlg() begin\n");
    m_View.StopBackgroundWork();
    m_View.CloseAssignDialog();
    m_AssignOpen = false;
    ProgramLog().WriteLog("CIpEditDlg::~CIpEditDlg() end\n");
}

// Search side: the search button, the interface drop-down and the device list.

void DialogController::OnSearch() {
    if (m_Searching || m_Closed || m_AssignOpen) {
        return;
    }
    SetSearching(true);
    ClearSettingsFields();
    m_Choice.Select(m_View.ChosenInterface());
    const bool chosen = m_Search.ChooseInterface();
    ShowInterfaceChoice();
    if (!chosen) {
        m_View.ShowMessage(MessageIcon::None, m_Texts.Text(UiText::CheckNetworkCard));
        m_Search.RefillAfterRefusal();
        ShowInterfaceChoice();
        m_Sent.reset();
        SetSearching(false);
        return;
    }
    m_View.RunInBackground([this] { return m_Search.RunSearch(); },
                           [this](bool searched) { OnSearchFinished(searched); });
}

void DialogController::OnSearchFinished(bool searched) {
    if (m_Closed) {
        return;
    }
    m_Search.ListDevices(searched);
    if (searched) {
        m_Search.ListWsdDevices(m_ExtraTexts.Text(ExtraText::WsdMarker));
    }
    m_View.ShowRows(FindRowProblems(m_Api, m_Devices, m_ExtraTexts));
    SetSearching(false);
    if (m_Sent) {
        ReportSubmit(searched);
    }
    if (m_CameraReport) {
        ReportCameraChange();
    }
}

void DialogController::SetSearching(bool searching, const std::u16string& progress) {
    m_Searching = searching;
    m_View.EnableControl(ControlId::SearchButton, !searching);
    // Without a device in the fields a submit could only fail.
    m_View.EnableControl(ControlId::SubmitButton, !searching && (m_LoadedDevice || m_CameraRead));
    m_View.EnableControl(ControlId::ReadButton, !searching && !m_CameraRead);
    m_View.EnableControl(ControlId::DeviceList, !searching);
    // A search says so in its own label; a camera's read or change in the longer one.
    const bool camera = !progress.empty();
    m_View.SetControlText(ControlId::ProgressLabel, m_Texts.Text(UiText::Searching));
    m_View.ShowControl(ControlId::ProgressLabel, searching && !camera);
    m_View.SetControlText(ControlId::CameraProgress, progress);
    m_View.ShowControl(ControlId::CameraProgress, searching && camera);
}

void DialogController::ClearSettingsFields() {
    m_LoadedDevice.reset();
    m_CameraRead.reset();
    m_View.ShowControl(ControlId::ReadButton, false);
    if (m_LoadedWsd != nullptr) {
        m_LoadedWsd = nullptr;
        SetFieldsReadOnly(false);
    }
    m_View.ClearField(ControlId::NameField);
    m_View.ClearField(ControlId::MacField);
    for (const ControlId field : kAddressFields) {
        m_View.ClearField(field);
    }
    m_View.ClearField(ControlId::PortField);
}

void DialogController::ShowInterfaceChoice() {
    m_View.ShowInterfaceChoice(m_Choice.Entries(), m_Choice.Selected());
}

void DialogController::OnColumnClick(int column) {
    m_View.ReorderRows([this, column] { m_Devices.SortByColumn(column); });
}

void DialogController::ShowLoadedRow() {
    if (!m_LoadedDevice) {
        return;
    }
    for (std::size_t row = 0; row < m_Devices.Rows().size(); ++row) {
        if (m_Devices.DeviceNumber(row) == *m_LoadedDevice) {
            m_View.SetCurrentRow(row);
            return;
        }
    }
}

void DialogController::OnRowChosen(int row) {
    if (row >= 0 && !m_Searching && !IsLoaded(static_cast<std::size_t>(row))) {
        OnClickRow(row);
    }
}

bool DialogController::IsLoaded(std::size_t row) const {
    if (const vanmoor::site::SiteDevice* device = m_Devices.WsdDevice(row)) {
        return m_LoadedWsd == device;
    }
    return m_LoadedDevice == m_Devices.DeviceNumber(row);
}

bool DialogController::OnRightPressRow(int row) {
    if (row < 0 || m_Searching) {
        return false;
    }
    // The menu's entries act on the row under the mouse, so that row is loaded and highlighted
    // as a click would.
    m_View.MarkRowForMenu(static_cast<std::size_t>(row));
    OnRowChosen(m_View.CurrentRow());
    return true;
}

// Editing side: loading a clicked device, the radio buttons, Submit and the web page.

void DialogController::OnClickRow(int row) {
    if (row < 0) {
        return;
    }
    if (const vanmoor::site::SiteDevice* device =
            m_Devices.WsdDevice(static_cast<std::size_t>(row))) {
        LoadWsdRow(*device);
        return;
    }
    const int deviceNumber = m_Devices.DeviceNumber(static_cast<std::size_t>(row));
    const std::optional<DeviceFields> fields = m_Editor->Load(deviceNumber);
    if (!fields) {
        return;
    }
    if (m_LoadedWsd != nullptr) {
        m_LoadedWsd = nullptr;
        SetFieldsReadOnly(false);
    }
    m_CameraRead.reset();
    m_View.ShowControl(ControlId::ReadButton, false);
    m_LoadedDevice = deviceNumber;
    m_View.EnableControl(ControlId::SubmitButton, !m_Searching);
    m_View.ShowControl(ControlId::StaticRadio, true);
    m_View.ShowControl(ControlId::DhcpRadio, true);
    m_View.SetChecked(ControlId::DhcpRadio, fields->dhcp);
    m_View.SetChecked(ControlId::StaticRadio, !fields->dhcp);
    SetAddressingFieldsEnabled(!fields->dhcp);

    m_View.SetFieldText(ControlId::NameField, fields->name);
    m_View.SetFieldAddress(ControlId::IpField, fields->ip);
    SetCredentialsVisible(fields->credentials);
    m_View.SetFieldAddress(ControlId::NetmaskField, fields->netmask);
    m_View.SetFieldAddress(ControlId::GatewayField, fields->gateway);
    m_View.SetFieldAddress(ControlId::Dns1Field, fields->dns1);
    m_View.SetFieldAddress(ControlId::Dns2Field, fields->dns2);
    m_View.SetFieldText(ControlId::PortField, Utf16FromAscii(std::to_string(fields->port)));
    m_View.SetFieldText(ControlId::MacField, UpperCaseAscii(fields->mac));
}

void DialogController::LoadWsdRow(const vanmoor::site::SiteDevice& device) {
    if (m_LoadedWsd == &device && m_CameraRead) {
        return; // read already: the fields keep what the user typed since
    }
    m_LoadedDevice.reset();
    m_LoadedWsd = &device;
    m_CameraRead.reset();
    SetFieldsReadOnly(true);
    // Only a camera without a device service is set on its own web page alone.
    const bool service = !vanmoor::commission::DeviceServiceUrl(device).empty();
    m_View.ShowControl(ControlId::WsdNotice, !service);
    SetCredentialsVisible(service);
    m_View.ShowControl(ControlId::ReadButton, service);
    if (service) {
        for (const ControlId control :
             {ControlId::UserNameField, ControlId::PasswordField, ControlId::ReadButton}) {
            m_View.EnableControl(control, !m_Searching);
        }
        if (m_CameraLogin) {
            m_View.SetFieldText(ControlId::UserNameField, Utf16FromUtf8(m_CameraLogin->user));
            m_View.SetFieldText(ControlId::PasswordField, Utf16FromUtf8(m_CameraLogin->password));
        }
    }
    m_View.SetChecked(ControlId::StaticRadio, false);
    m_View.SetChecked(ControlId::DhcpRadio, false);
    m_View.SetFieldText(ControlId::NameField, Utf16FromUtf8(device.name));
    m_View.SetFieldAddress(ControlId::IpField, device.ip);
    // Its netmask, gateway, DNS servers and MAC are not known.
    for (const ControlId field :
         {ControlId::NetmaskField, ControlId::GatewayField, ControlId::Dns1Field,
          ControlId::Dns2Field, ControlId::MacField}) {
        m_View.ClearField(field);
    }
    if (device.port != 0) {
        m_View.SetFieldText(ControlId::PortField, Utf16FromAscii(std::to_string(device.port)));
    } else {
        m_View.ClearField(ControlId::PortField);
    }
}

void DialogController::OnReadCamera() {
    if (m_Searching || m_Closed || m_AssignOpen || m_LoadedWsd == nullptr || m_CameraRead ||
        vanmoor::commission::DeviceServiceUrl(*m_LoadedWsd).empty()) {
        return;
    }
    const vanmoor::onvif::Credentials credentials{
        Utf8FromUtf16(m_View.FieldText(ControlId::UserNameField), kWholeText),
        Utf8FromUtf16(m_View.FieldText(ControlId::PasswordField), kWholeText)};
    auto read = std::make_shared<vanmoor::commission::CameraRead>();
    SetSearching(true, m_ExtraTexts.Text(ExtraText::CameraReading));
    m_View.RunInBackground(
        [read, camera = *m_LoadedWsd, credentials] {
            const auto transport = vanmoor::onvif::MakeHttpTransport({});
            *read = vanmoor::commission::ReadCamera(*transport, camera, credentials);
            return read->end == CameraReadEnd::Read;
        },
        [this, read, credentials](bool) { OnCameraRead(*read, credentials); });
}

void DialogController::OnCameraRead(vanmoor::commission::CameraRead& read,
                                    const vanmoor::onvif::Credentials& credentials) {
    if (m_Closed) {
        return;
    }
    SetSearching(false);
    if (read.end != CameraReadEnd::Read || m_LoadedWsd == nullptr) {
        m_View.ShowMessage(MessageIcon::Warning, CameraReadText(read));
        return;
    }
    m_CameraLogin = std::make_unique<vanmoor::onvif::Credentials>(credentials);
    m_Devices.TakeCameraRead(*m_LoadedWsd, read.access.read);
    m_CameraRead = std::make_unique<vanmoor::commission::CameraAccess>(std::move(read.access));
    ShowReadCamera(*m_LoadedWsd);
}

std::u16string DialogController::CameraReadText(const vanmoor::commission::CameraRead& read) const {
    const std::u16string detail = Utf16FromUtf8(read.detail);
    switch (read.end) {
    case CameraReadEnd::LoginRefused:
    case CameraReadEnd::Unreachable:
        return FillIn(m_ExtraTexts.Text(ExtraText::CameraReadFailed), detail);
    case CameraReadEnd::NotDeviceService:
        return FillIn(m_ExtraTexts.Text(ExtraText::CameraReadNotService), detail);
    default:
        return FillIn(m_ExtraTexts.Text(ExtraText::CameraReadNoService), detail);
    }
}

void DialogController::ShowReadCamera(const vanmoor::site::SiteDevice& camera) {
    SetFieldsReadOnly(false);
    m_View.EnableControl(ControlId::ReadButton, false);
    m_View.ShowControl(ControlId::StaticRadio, true);
    m_View.ShowControl(ControlId::DhcpRadio, true);
    m_View.SetChecked(ControlId::DhcpRadio, camera.dhcp);
    m_View.SetChecked(ControlId::StaticRadio, !camera.dhcp);
    SetAddressingFieldsEnabled(!camera.dhcp);
    m_View.SetFieldText(ControlId::NameField, Utf16FromUtf8(camera.name));
    m_View.SetFieldAddress(ControlId::IpField, camera.ip);
    m_View.SetFieldAddress(ControlId::NetmaskField, camera.netmask);
    m_View.SetFieldAddress(ControlId::GatewayField, camera.gateway);
    m_View.SetFieldAddress(ControlId::Dns1Field, camera.dns1);
    m_View.SetFieldAddress(ControlId::Dns2Field, camera.dns2);
    m_View.SetFieldText(ControlId::PortField, Utf16FromAscii(std::to_string(camera.port)));
    if (camera.mac) {
        m_View.SetFieldText(ControlId::MacField, UpperCaseAscii(MacColonText(*camera.mac)));
    }
}

void DialogController::SetFieldsReadOnly(bool readOnly) {
    for (const ControlId control :
         {ControlId::NameField, ControlId::IpField, ControlId::NetmaskField,
          ControlId::GatewayField, ControlId::Dns1Field, ControlId::Dns2Field, ControlId::PortField,
          ControlId::MacField, ControlId::UserNameField, ControlId::PasswordField,
          ControlId::StaticRadio, ControlId::DhcpRadio}) {
        m_View.EnableControl(control, !readOnly);
    }
    m_View.EnableControl(ControlId::SubmitButton, !readOnly && !m_Searching);
    m_View.ShowControl(ControlId::WsdNotice, readOnly);
}

void DialogController::OnDoubleClickRow(int row) {
    if (m_Searching || row < 0) {
        return;
    }
    // The click before it loaded this row, unless the fields were emptied in between.
    if (!IsLoaded(static_cast<std::size_t>(row))) {
        OnClickRow(row);
    }
    // A page on such an address would be on this computer or nowhere, never the device's. A
    // WS-Discovery camera's 0.0.0.0 stands for an address not known: its page rule tells that.
    if (m_LoadedDevice || (m_LoadedWsd != nullptr && m_LoadedWsd->AddressKnown())) {
        const auto why = vanmoor::commission::WhyAddressUnusable(
            m_LoadedWsd != nullptr ? m_LoadedWsd->ip : m_Editor->Selected().IP);
        if (why) {
            m_View.ShowMessage(MessageIcon::Warning, m_ExtraTexts.Message(*why));
            return;
        }
    }
    if (m_LoadedWsd != nullptr) {
        const std::vector<std::string> xaddrs =
            m_LoadedWsd->wsd ? m_LoadedWsd->wsd->xaddrs : std::vector<std::string>{};
        if (const std::optional<std::string> page =
                vanmoor::site::WebPageOfXAddrs(xaddrs, m_LoadedWsd->ip)) {
            m_View.OpenUrl(*page);
        } else if (const auto named = vanmoor::site::FirstWebPageOfXAddrs(xaddrs)) {
            // Anyone on the LAN can announce a page elsewhere in a camera's name.
            m_View.ShowMessage(
                MessageIcon::Warning,
                FillIn(m_ExtraTexts.Text(ExtraText::PageOnOtherHost), Utf16FromAscii(named->host)));
        } else {
            m_View.ShowMessage(MessageIcon::Warning,
                               FillIn(m_ExtraTexts.Text(ExtraText::PortCannotOpen),
                                      Utf16FromAscii(std::to_string(m_LoadedWsd->port))));
        }
        return;
    }
    if (const std::optional<std::string> address = m_Editor->WebAddress()) {
        m_View.OpenUrl(*address);
    } else if (m_LoadedDevice) {
        m_View.ShowMessage(MessageIcon::Warning,
                           FillIn(m_ExtraTexts.Text(ExtraText::PortCannotOpen),
                                  Utf16FromAscii(std::to_string(m_Editor->Selected().port))));
    }
}

void DialogController::OnRadioStatic() {
    m_View.SetChecked(ControlId::DhcpRadio, false);
    m_View.SetChecked(ControlId::StaticRadio, true);
    SetAddressingFieldsEnabled(true);
}

void DialogController::OnRadioDhcp() {
    m_View.SetChecked(ControlId::DhcpRadio, true);
    m_View.SetChecked(ControlId::StaticRadio, false);
    SetAddressingFieldsEnabled(false);
}

void DialogController::SetAddressingFieldsEnabled(bool enabled) {
    for (const ControlId field :
         {ControlId::IpField, ControlId::NetmaskField, ControlId::GatewayField}) {
        m_View.EnableControl(field, enabled);
    }
}

void DialogController::SetCredentialsVisible(bool visible) {
    for (const ControlId control : {ControlId::UserNameField, ControlId::PasswordField,
                                    ControlId::UserNameLabel, ControlId::PasswordLabel}) {
        m_View.ShowControl(control, visible);
    }
}

void DialogController::OnSubmit() {
    // A camera found by WS-Discovery alone takes no settings command; once read, its device
    // service takes them.
    if (m_Searching || m_Closed || (m_LoadedWsd != nullptr && !m_CameraRead)) {
        return;
    }
    for (const ControlId field : kAddressFields) {
        if (m_View.IsAddressPartlyFilled(field)) {
            m_View.ShowMessage(MessageIcon::Warning,
                               m_ExtraTexts.Text(ExtraText::AddressPartlyFilled));
            m_View.FocusField(field);
            return;
        }
    }
    if (m_CameraRead) {
        SubmitCamera(ReadForm());
        return;
    }
    const SubmitResult result = m_Editor->Submit(ReadForm());
    if (result.outcome == SubmitOutcome::Sent) {
        m_Sent = SentSettings{m_Editor->Selected().MAC, result.sent, result.port};
        m_Sent->form.password.clear();
        m_Search.ExpectChanged(m_Sent->mac);
        OnSearch();
    } else if (result.outcome == SubmitOutcome::Refused) {
        ShowFormRefusal(result.problem);
    } else if (result.outcome == SubmitOutcome::AddressesRefused) {
        m_View.ShowMessage(MessageIcon::Warning, m_ExtraTexts.Message(*result.refusal));
        m_View.FocusField(ControlId::IpField);
    } else {
        m_View.ShowMessage(MessageIcon::Warning, m_ExtraTexts.Text(ExtraText::SubmitNotSent));
    }
}

void DialogController::ShowFormRefusal(FormProblem problem) {
    const bool nameProblem = problem == FormProblem::NameTooLong ||
                             problem == FormProblem::NameTooManyBytes ||
                             problem == FormProblem::KeptNameIncomplete;
    m_View.ShowMessage(MessageIcon::Warning, FormProblemText(problem, m_ExtraTexts));
    m_View.FocusField(nameProblem ? ControlId::NameField : ControlId::PortField);
}

void DialogController::SubmitCamera(SettingsForm form) {
    // A name left as read is not sent, however long the camera's own may be.
    if (form.name == Utf16FromUtf8(m_LoadedWsd->name)) {
        form.nameBytes = m_LoadedWsd->name;
    }
    const FormCheck check = CheckSettingsForm(form);
    if (check.problem != FormProblem::None) {
        ShowFormRefusal(check.problem);
        return;
    }
    // A camera's web port cannot be 0; one it did not tell (shown as 0) is not sent.
    if (check.port == 0 && m_LoadedWsd->port != 0) {
        ShowFormRefusal(FormProblem::PortOutOfRange);
        return;
    }
    if (auto why = vanmoor::commission::WhySettingsRefused(form.ip, form.netmask, form.gateway)) {
        m_View.ShowMessage(MessageIcon::Warning, m_ExtraTexts.Message(*why));
        m_View.FocusField(ControlId::IpField);
        return;
    }
    const vanmoor::onvif::SettingsChange change =
        CameraChangeOfForm(form, check.port, *m_LoadedWsd);
    // Its Hellos and answers come back through the interface it was found through.
    vanmoor::commission::WsdEndpointWatch::Options watchOptions;
    if (m_LoadedWsd->localAddress) {
        watchOptions.localAddresses = {*m_LoadedWsd->localAddress};
    }
    auto result = std::make_shared<vanmoor::commission::CameraChangeResult>();
    const std::array<std::u16string, 4> progressTexts{
        m_ExtraTexts.Text(ExtraText::CameraSending), m_ExtraTexts.Text(ExtraText::CameraRebooting),
        m_ExtraTexts.Text(ExtraText::CameraWaiting), m_ExtraTexts.Text(ExtraText::CameraVerifying)};
    SetSearching(true, progressTexts[0]);
    m_View.RunInBackground(
        [this, result, access = *m_CameraRead, change, watchOptions, progressTexts,
         verifyWait = m_VerifyWait] {
            const auto transport = vanmoor::onvif::MakeHttpTransport({});
            vanmoor::commission::WsdEndpointWatch watch(watchOptions);
            vanmoor::commission::CameraChange::Options options;
            options.wait = verifyWait;
            vanmoor::commission::CameraChange camera(*transport, watch, options);
            bool restarting = false;
            *result = camera.Apply(access, change, [&](ChangeProgress step) {
                // The wait after a restart is the restart: its line stays.
                restarting = restarting || step == ChangeProgress::Rebooting;
                if (!(restarting && step == ChangeProgress::WaitingForCamera)) {
                    m_View.PostProgress(progressTexts.at(static_cast<std::size_t>(step)));
                }
            });
            return result->verdict == ChangeVerdict::Changed;
        },
        [this, result, endpoint = m_CameraRead->endpoint](bool changed) {
            if (m_Closed) {
                return;
            }
            SetSearching(false);
            m_CameraReport =
                CameraReport{endpoint, changed ? MessageIcon::Information : MessageIcon::Warning,
                             CameraChangeText(*result)};
            OnSearch();
        });
}

std::u16string
DialogController::CameraChangeText(const vanmoor::commission::CameraChangeResult& result) const {
    const std::u16string detail = Utf16FromUtf8(result.detail);
    switch (result.verdict) {
    case ChangeVerdict::Changed:
        return m_ExtraTexts.Text(ExtraText::CameraChanged);
    case ChangeVerdict::NothingToChange:
        return m_ExtraTexts.Text(ExtraText::CameraNothingToChange);
    case ChangeVerdict::LoginRefused:
        return m_ExtraTexts.Text(ExtraText::CameraChangeRefused);
    case ChangeVerdict::NotSent:
        return FillIn(m_ExtraTexts.Text(ExtraText::CameraNotSent), detail);
    case ChangeVerdict::Kept:
        return m_ExtraTexts.Text(ExtraText::CameraKept);
    case ChangeVerdict::NotConfirmed:
        return FillIn(m_ExtraTexts.Text(ExtraText::CameraNotConfirmed), detail);
    case ChangeVerdict::Failed:
        break;
    }
    return FillIn(m_ExtraTexts.Text(ExtraText::CameraChangeFailed), detail);
}

void DialogController::ReportCameraChange() {
    const CameraReport report = std::move(*m_CameraReport);
    m_CameraReport.reset();
    for (std::size_t row = 0; row < m_Devices.Rows().size(); ++row) {
        const vanmoor::site::SiteDevice* camera = m_Devices.WsdDevice(row);
        if (camera != nullptr && camera->wsd && camera->wsd->endpoint == report.endpoint) {
            LoadWsdRow(*camera);
            m_View.SetCurrentRow(row);
        }
    }
    m_View.ShowMessage(report.icon, report.text);
}

void DialogController::ReportSubmit(bool searched) {
    const SentSettings sent = *m_Sent;
    m_Sent.reset();
    if (!searched) {
        m_View.ShowMessage(MessageIcon::Warning, m_ExtraTexts.Text(ExtraText::SubmitSearchFailed));
        return;
    }
    const std::optional<int> index = FindDeviceIndex(m_Api, sent.mac);
    const SubmitReport report = CheckSubmit(index ? ReadSiteDevice(m_Api, *index) : std::nullopt,
                                            sent.form, sent.port, ReadHostAddresses(m_Api));
    if (index) {
        // Found by address, not by row: the list may have changed order.
        for (std::size_t row = 0; row < m_Devices.Rows().size(); ++row) {
            if (m_Devices.DeviceNumber(row) == *index + 1) {
                OnClickRow(static_cast<int>(row));
                ShowLoadedRow();
            }
        }
    }
    m_View.ShowMessage(report.verdict == SubmitVerdict::Applied ? MessageIcon::Information
                                                                : MessageIcon::Warning,
                       SubmitReportText(report, m_ExtraTexts));
}

SettingsForm DialogController::ReadForm() const {
    SettingsForm form;
    form.name = m_View.FieldText(ControlId::NameField);
    form.portText = m_View.FieldText(ControlId::PortField);
    form.ip = m_View.FieldAddress(ControlId::IpField);
    form.netmask = m_View.FieldAddress(ControlId::NetmaskField);
    form.gateway = m_View.FieldAddress(ControlId::GatewayField);
    form.dns1 = m_View.FieldAddress(ControlId::Dns1Field);
    form.dns2 = m_View.FieldAddress(ControlId::Dns2Field);
    form.dhcp = m_View.IsChecked(ControlId::DhcpRadio);
    form.user = m_View.FieldText(ControlId::UserNameField);
    form.password = m_View.FieldText(ControlId::PasswordField);
    return form;
}

// The context menu: "Assign addresses..." and "Export list...".

ContextMenuState DialogController::ContextMenu() const {
    // The library's table must not be read while a search replaces it.
    return ContextMenuState{m_ExtraTexts.Text(ExtraText::AssignMenuEntry), !m_Searching,
                            !m_Searching};
}

void DialogController::OnAssignAddresses() {
    if (m_Searching || m_Closed || m_AssignOpen) {
        return;
    }
    m_AssignOpen = true;
    std::vector<SiteDevice> found = ReadSiteDevices(m_Api);
    for (std::size_t row = 0; row < m_Devices.Rows().size(); ++row) {
        if (const SiteDevice* camera = m_Devices.WsdDevice(row)) {
            found.push_back(*camera);
        }
    }
    m_View.OpenAssignDialog(
        AssignSite{std::move(found), ReadHostAddresses(m_Api), SelectedMacs(), m_VerifyWait});
}

void DialogController::OnAssignClosed(bool applied) {
    m_AssignOpen = false;
    if (applied) {
        OnSearch();
    }
}

std::vector<MacBytes> DialogController::SelectedMacs() const {
    std::vector<std::size_t> rows = m_View.SelectedRows();
    // Top to bottom, as the rows are shown.
    std::sort(rows.begin(), rows.end());
    std::vector<MacBytes> macs;
    for (const std::size_t row : rows) {
        if (m_Devices.DeviceNumber(row) < 1) {
            // A WS-Discovery camera has a MAC once its device service was read.
            const SiteDevice* camera = m_Devices.WsdDevice(row);
            if (camera != nullptr && camera->mac) {
                macs.push_back(*camera->mac);
            }
            continue;
        }
        if (const std::optional<SiteDevice> device =
                ReadSiteDevice(m_Api, m_Devices.DeviceNumber(row) - 1)) {
            macs.push_back(device->MacOrZero());
        }
    }
    return macs;
}

void DialogController::OnExportList() {
    if (m_Searching || m_Closed) {
        return;
    }
    std::u16string caption = m_ExtraTexts.Text(ExtraText::ExportList);
    while (!caption.empty() && caption.back() == u'.') {
        caption.pop_back();
    }
    const std::vector<std::u16string> filters{
        m_ExtraTexts.Text(ExtraText::ExportCsvFilter) + u" (*.csv)",
        m_ExtraTexts.Text(ExtraText::ExportJsonFilter) + u" (*.json)"};
    const std::optional<SaveChoice> choice = m_View.ChooseSaveFile(caption, filters, 0);
    if (!choice || choice->path.empty()) {
        return;
    }
    const OutputFormat format =
        ExportFormatFor(choice->path, choice->filter == 1 ? OutputFormat::Json : OutputFormat::Csv);
    const std::string path = ExportFileName(choice->path, format);
    std::ostringstream out;
    WriteListExport(ReadListedDevices(m_Api, m_Devices), format, out, m_WsdScan != nullptr);
    if (const std::optional<std::u16string> error = m_View.SaveWholeFile(path, out.str())) {
        m_View.ShowMessage(MessageIcon::Warning, FillIn(m_ExtraTexts.Text(ExtraText::ExportFailed),
                                                        Utf16FromUtf8(path), *error));
    }
}

} // namespace kestrun

#include "DeviceEditor.h"

#include "ProgramLog.h"
#include "SettingsRule.h"
#include "SharedSettings.h"

#include <cstring>
#include <string_view>

namespace kestrun {

namespace {

constexpr int kAddressBufferSize = 25;
constexpr int kMacBufferSize = 30;

using AddressQuery = bool (*)(int index, char* out, int outSize);

Ipv4Octets QueryOctets(AddressQuery query, int index) {
    char text[kAddressBufferSize] = {};
    query(index, text, sizeof text);
    return OctetsFromDottedText(std::string_view(text, strnlen(text, sizeof text)));
}

} // namespace

DeviceEditor::DeviceEditor(const LibraryApi& api) : m_Api(api) {}

std::optional<DeviceFields> DeviceEditor::Load(int deviceNumber) {
    if (deviceNumber < 1) {
        return std::nullopt;
    }
    ProgramLog().WriteLog("CIpEditDlg::OnClickDevList : %d\n", deviceNumber);
    const int index = deviceNumber - 1;
    m_Selected = SelectedDevice{};
    m_HasSelection = true;

    DeviceFields fields;
    fields.dhcp = m_Api.getDHCP(index) == 1;

    m_Api.getName(index, m_Selected.name.data(), static_cast<int>(m_Selected.name.size()));
    fields.name = Utf16FromUtf8(std::string_view(m_Selected.name.data(), m_Selected.name.size()));

    char ip[kAddressBufferSize] = {};
    char protocol = 0;
    m_Api.getIPString_DetVer(index, ip, sizeof ip, &protocol);
    m_Selected.authenticated = protocol != 0 ? 1 : 0;
    fields.credentials = protocol != 0;
    fields.ip = OctetsFromDottedText(std::string_view(ip, strnlen(ip, sizeof ip)));
    m_Selected.IP = fields.ip;

    fields.netmask = QueryOctets(m_Api.getNetMaskString, index);
    fields.gateway = QueryOctets(m_Api.getGateWayString, index);
    fields.dns1 = QueryOctets(m_Api.getDNS1String, index);
    fields.dns2 = QueryOctets(m_Api.getDNS2String, index);

    fields.port = m_Api.getPort(index);
    m_Selected.port = fields.port;

    char mac[kMacBufferSize] = {};
    m_Api.getMacString(index, mac, sizeof mac);
    m_Selected.MAC = MacFromDashedText(std::string_view(mac, strnlen(mac, sizeof mac)));
    fields.mac = MacColonText(m_Selected.MAC);
    return fields;
}

SettingsForm DeviceEditor::WithUneditedName(SettingsForm form) const {
    const std::string_view loaded(m_Selected.name.data(),
                                  strnlen(m_Selected.name.data(), m_Selected.name.size()));
    if (m_HasSelection && form.name == Utf16FromUtf8(loaded)) {
        form.nameBytes = std::string(loaded);
    }
    return form;
}

SubmitResult DeviceEditor::Submit(const SettingsForm& typed) {
    const SettingsForm form = WithUneditedName(typed);
    const FormCheck check = CheckSettingsForm(form);
    if (check.problem != FormProblem::None) {
        return {SubmitOutcome::Refused, check.problem, std::nullopt, 0, {}};
    }
    if (const FormProblem name = CheckNameFits(form, m_Selected.authenticated == 1);
        name != FormProblem::None) {
        return {SubmitOutcome::Refused, name, std::nullopt, 0, {}};
    }
    if (auto why = vanmoor::commission::WhySettingsRefused(form.ip, form.netmask, form.gateway)) {
        return {SubmitOutcome::AddressesRefused, FormProblem::None, std::move(why), 0, {}};
    }
    try {
        const int result = m_Selected.authenticated == 1 ? SubmitAuth(form, check.port)
                                                         : SubmitPlain(form, check.port);
        if (result == 0) {
            return {SubmitOutcome::Sent, FormProblem::None, std::nullopt, check.port, form};
        }
        ProgramLog().WriteLog("CIpEditDlg::OnSubmit() failed\n");
    } catch (...) {
        ProgramLog().WriteLog("CIpEditDlg::OnSubmit catch failed\n");
    }
    return {SubmitOutcome::Failed, FormProblem::None, std::nullopt, 0, {}};
}

int DeviceEditor::SubmitPlain(const SettingsForm& form, int port) {
    return m_Api.set(MakeNetSettings(form, port, m_Selected.MAC)) == 1 ? 0 : -1;
}

int DeviceEditor::SubmitAuth(const SettingsForm& form, int port) {
    return m_Api.set_MD5(MakeAuthNetSettings(form, port, m_Selected.MAC)) == 1 ? 0 : -1;
}

std::optional<std::string> DeviceEditor::WebAddress() const {
    const auto& ip = m_Selected.IP;
    ProgramLog().WriteLog("Connect to http://%d.%d.%d.%d:%d\n", ip[0], ip[1], ip[2], ip[3],
                          m_Selected.port);
    if (!m_HasSelection) {
        return std::nullopt;
    }
    return vanmoor::settings::WebAddress(ip, m_Selected.port);
}

} // namespace kestrun

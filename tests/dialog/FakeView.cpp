#include "FakeView.h"

namespace kestrun::test {

namespace {

void Mark(std::set<ControlId>& marked, ControlId control, bool mark) {
    if (mark) {
        marked.insert(control);
    } else {
        marked.erase(control);
    }
}

} // namespace

bool FakeView::FinishBackgroundWork() {
    if (!BackgroundWorkPending()) {
        return false;
    }
    const bool result = std::exchange(m_Work, nullptr)();
    std::exchange(m_Done, nullptr)(result);
    return true;
}

void FakeView::SetControlText(ControlId control, const std::u16string& text) {
    texts[control] = text;
}

std::u16string FakeView::FieldText(ControlId field) const {
    const auto text = texts.find(field);
    return text != texts.end() ? text->second : std::u16string();
}

void FakeView::SetFieldText(ControlId field, const std::u16string& text) {
    texts[field] = text;
}

Ipv4Octets FakeView::FieldAddress(ControlId field) const {
    const auto address = addresses.find(field);
    return address != addresses.end() ? address->second : Ipv4Octets{};
}

void FakeView::SetFieldAddress(ControlId field, const Ipv4Octets& address) {
    addresses[field] = address;
    partlyFilled.erase(field);
}

void FakeView::ClearField(ControlId field) {
    texts.erase(field);
    addresses.erase(field);
    partlyFilled.erase(field);
}

void FakeView::SetChecked(ControlId radio, bool check) {
    Mark(checked, radio, check);
}

void FakeView::EnableControl(ControlId control, bool enabled) {
    Mark(disabled, control, !enabled);
}

void FakeView::ShowControl(ControlId control, bool visible) {
    Mark(hidden, control, !visible);
}

void FakeView::ShowInterfaceChoice(const std::vector<std::u16string>& entries, int selected) {
    interfaceEntries = entries;
    chosenInterface = selected;
}

void FakeView::ShowRows(const std::vector<RowFinding>& rowFindings) {
    m_Journal.push_back("view:ShowRows");
    findings = rowFindings;
}

void FakeView::ReorderRows(const std::function<void()>& reorder) {
    m_Journal.push_back("view:ReorderRows");
    reorder();
}

void FakeView::ShowMessage(MessageIcon icon, const std::u16string& text) {
    m_Journal.push_back("view:ShowMessage");
    messages.emplace_back(icon, text);
}

std::optional<SaveChoice> FakeView::ChooseSaveFile(const std::u16string&,
                                                   const std::vector<std::u16string>& filters,
                                                   std::size_t) {
    offeredFilters = filters;
    return saveChoice;
}

std::optional<std::u16string> FakeView::SaveWholeFile(const std::string& path,
                                                      const std::string& bytes) {
    if (unwritable.contains(path)) {
        return u"denied";
    }
    files[path] = bytes;
    return std::nullopt;
}

void FakeView::RunInBackground(std::function<bool()> work, std::function<void(bool)> done) {
    m_Journal.push_back("view:RunInBackground");
    m_Work = std::move(work);
    m_Done = std::move(done);
}

void FakeView::StopBackgroundWork() {
    m_Journal.push_back("view:StopBackgroundWork");
    // Work already handed over runs to its end; its result goes nowhere.
    if (m_Work) {
        std::exchange(m_Work, nullptr)();
    }
    m_Done = nullptr;
}

void FakeView::OpenAssignDialog(AssignSite site) {
    m_Journal.push_back("view:OpenAssignDialog");
    assignSite = std::move(site);
}

} // namespace kestrun::test

#pragma once

#include "DialogView.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kestrun::test {

// A window without a window system: keeps what the controller shows, answers what it asks from
// the fields below, and writes its platform steps into `journal` (the fake library's calls), so
// that a test sees them in order with the library's. Background work waits until the test runs it.
class FakeView : public DialogView {
public:
    explicit FakeView(std::vector<std::string>& journal) : m_Journal(journal) {}

    // Runs the background work handed over last and hands its result back. False when none.
    bool FinishBackgroundWork();
    bool BackgroundWorkPending() const { return m_Done != nullptr; }

    std::map<ControlId, std::u16string> texts;
    std::map<ControlId, Ipv4Octets> addresses;
    std::set<ControlId> partlyFilled;
    std::set<ControlId> checked;
    std::set<ControlId> disabled;
    std::set<ControlId> hidden;
    std::optional<ControlId> focused;
    std::vector<std::u16string> interfaceEntries;
    int chosenInterface = -1;
    std::vector<RowFinding> findings;
    int currentRow = -1;
    std::vector<std::size_t> selectedRows;
    std::vector<std::pair<MessageIcon, std::u16string>> messages;
    std::vector<std::string> openedUrls;
    // The answer to the next ChooseSaveFile(); what it was offered.
    std::optional<SaveChoice> saveChoice;
    std::vector<std::u16string> offeredFilters;
    // Files written whole, by path; a path listed in `unwritable` fails with "denied".
    std::map<std::string, std::string> files;
    std::set<std::string> unwritable;
    std::optional<AssignSite> assignSite;
    // Texts that background work posted for the progress line.
    std::vector<std::u16string> progress;

private:
    void SetControlText(ControlId control, const std::u16string& text) override;
    std::u16string FieldText(ControlId field) const override;
    void SetFieldText(ControlId field, const std::u16string& text) override;
    Ipv4Octets FieldAddress(ControlId field) const override;
    void SetFieldAddress(ControlId field, const Ipv4Octets& address) override;
    bool IsAddressPartlyFilled(ControlId field) const override {
        return partlyFilled.contains(field);
    }
    void ClearField(ControlId field) override;
    void FocusField(ControlId field) override { focused = field; }
    bool IsChecked(ControlId radio) const override { return checked.contains(radio); }
    void SetChecked(ControlId radio, bool check) override;
    void EnableControl(ControlId control, bool enabled) override;
    void ShowControl(ControlId control, bool visible) override;
    void ArrangeControls() override { m_Journal.push_back("view:ArrangeControls"); }
    void ShowInterfaceChoice(const std::vector<std::u16string>& entries, int selected) override;
    int ChosenInterface() const override { return chosenInterface; }
    void ShowRows(const std::vector<RowFinding>& rowFindings) override;
    void ReorderRows(const std::function<void()>& reorder) override;
    int CurrentRow() const override { return currentRow; }
    void SetCurrentRow(std::size_t row) override { currentRow = static_cast<int>(row); }
    void MarkRowForMenu(std::size_t row) override { currentRow = static_cast<int>(row); }
    std::vector<std::size_t> SelectedRows() const override { return selectedRows; }
    void ShowMessage(MessageIcon icon, const std::u16string& text) override;
    void OpenUrl(const std::string& address) override { openedUrls.push_back(address); }
    std::optional<SaveChoice> ChooseSaveFile(const std::u16string& caption,
                                             const std::vector<std::u16string>& filters,
                                             std::size_t chosenFilter) override;
    std::optional<std::u16string> SaveWholeFile(const std::string& path,
                                                const std::string& bytes) override;
    void RunInBackground(std::function<bool()> work, std::function<void(bool)> done) override;
    void StopBackgroundWork() override;
    void PostProgress(std::u16string text) override { progress.push_back(std::move(text)); }
    void OpenAssignDialog(AssignSite site) override;
    void CloseAssignDialog() override { m_Journal.push_back("view:CloseAssignDialog"); }
    void EndDialog() override { m_Journal.push_back("view:EndDialog"); }

    std::vector<std::string>& m_Journal;
    std::function<bool()> m_Work;
    std::function<void(bool)> m_Done;
};

} // namespace kestrun::test

#pragma once

#include "AssignController.h"
#include "AssignTableRows.h"
#include "AssignView.h"
#include "BackgroundTask.h"
#include "ExtraTextTable.h"
#include "LibraryApi.h"
#include "UiTextTable.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

namespace kestrun::win32 {

// "Assign addresses..." on Windows: dialog template IDD_ASSIGN_DIALOG as a modeless dialog that
// keeps its owner disabled while it is open. What the controls do is the controller's; this
// class shows and reads them and runs the batch on a thread of its own.
class AssignWindow final : private AssignView {
public:
    // Posted to the owner once the dialog has gone by the user's or the controller's close;
    // WPARAM is 1 when a batch ran. The owner then deletes this object.
    static constexpr UINT kClosedMessage = WM_APP + 3;

    AssignWindow(const LibraryApi& api, AssignSite site, const UiTextTable& texts,
                 const ExtraTextTable& extraTexts);
    // Waits for a batch still running, then closes without posting kClosedMessage.
    ~AssignWindow();
    AssignWindow(const AssignWindow&) = delete;
    AssignWindow& operator=(const AssignWindow&) = delete;

    // Makes and shows the dialog; false when it could not be made.
    bool Create(HINSTANCE instance, HWND owner);
    // The dialog's handle; null once it has gone.
    HWND Handle() const { return m_Dialog; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int code);
    void SetTexts();
    void FillChoice();
    void AddColumns(std::size_t from, std::size_t to);
    // The width a column's heading needs, in pixels.
    int HeadingWidth(std::size_t column) const;
    // Fits every column to its heading and texts now, or once the plan has stopped changing
    // for a moment.
    void FitColumns();
    void FitColumnsSoon();
    // The user's close: refused while a batch runs, which then closes the dialog at its end.
    void OnCloseAsked();
    // Takes the dialog down and gives the owner back its input.
    void Close();
    HWND Item(int id) const { return GetDlgItem(m_Dialog, id); }
    Ipv4Octets Address(int id) const;
    bool IsBoxChecked(int id) const;
    std::u16string ItemText(int id) const;

    // AssignView
    AssignFields Fields() const override;
    AssignChoice Choice() const override;
    Credentials TypedCredentials() const override;
    void ShowPlan(const std::vector<PlannedDevice>& plan,
                  const std::vector<SiteDevice>& leftOut) override;
    void ShowMessage(const std::u16string& text) override;
    void EnableApply(bool enabled) override;
    void ShowCredentials(bool visible) override;
    void ShowReadCameras(bool visible) override;
    void FocusUserName() override;
    void ShowBatchStarted(std::size_t devices) override;
    void ShowOutcome(const AssignOutcome& outcome) override;
    void ShowProgress(int done) override;
    void ShowBatchEnded() override;
    void RunBatch(BatchWork work, BatchProgress progress,
                  std::function<void(const std::vector<AssignOutcome>&)> finished) override;
    void RunInBackground(std::function<void()> work, std::function<void()> done) override;
    void CloseDialog() override;
    // The fields, Apply and Close locked while work runs, or usable again.
    void LockForWork(bool locked);

    const UiTextTable& m_Texts;
    const ExtraTextTable& m_ExtraTexts;
    std::unique_ptr<AssignController> m_Controller;
    AssignTableRows m_Rows;
    HWND m_Dialog = nullptr;
    HWND m_Owner = nullptr;
    std::unique_ptr<BackgroundTask> m_Batch;
    bool m_Made = false; // WM_INITDIALOG has set every control up
    bool m_ResultColumnsShown = false;
    bool m_FitPending = false;

    static constexpr UINT_PTR kFitTimer = 1;
    static constexpr UINT kFitDelayMs = 300;
};

} // namespace kestrun::win32

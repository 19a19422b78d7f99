#pragma once

#include "AssignWindow.h"
#include "BackgroundTask.h"
#include "DesktopActions.h"
#include "DeviceListView.h"
#include "DialogController.h"
#include "DialogView.h"
#include "GdiFont.h"
#include "LibraryApi.h"

#include <windows.h>

#include <memory>

namespace kestrun::win32 {

// The main window on Windows: dialog template 102 as a modeless dialog, its controls shown and
// read for the DialogController, and the user's events forwarded to it.
class IpEditWindow final : public DialogView {
public:
    // `wsdScan`, when given, runs beside every search.
    IpEditWindow(const LibraryApi& api, HINSTANCE instance, DesktopActions actions,
                 std::unique_ptr<WsdScan> wsdScan = nullptr);
    ~IpEditWindow();
    IpEditWindow(const IpEditWindow&) = delete;
    IpEditWindow& operator=(const IpEditWindow&) = delete;

    // Makes and shows the window; the controller initialises it and starts the first search.
    // False when the window could not be made.
    bool Create();
    // The window's handle; null before Create and once it has gone.
    HWND Handle() const { return m_Window; }
    // Handles messages until the window has gone.
    void RunUntilClosed();

    // DialogView.
    void SetControlText(ControlId control, const std::u16string& text) override;
    std::u16string FieldText(ControlId field) const override;
    void SetFieldText(ControlId field, const std::u16string& text) override;
    Ipv4Octets FieldAddress(ControlId field) const override;
    void SetFieldAddress(ControlId field, const Ipv4Octets& address) override;
    bool IsAddressPartlyFilled(ControlId field) const override;
    void ClearField(ControlId field) override;
    void FocusField(ControlId field) override;
    bool IsChecked(ControlId radio) const override;
    void SetChecked(ControlId radio, bool checked) override;
    void EnableControl(ControlId control, bool enabled) override;
    void ShowControl(ControlId control, bool visible) override;
    void ArrangeControls() override;
    void ShowInterfaceChoice(const std::vector<std::u16string>& entries, int selected) override;
    int ChosenInterface() const override;
    void ShowRows(const std::vector<RowFinding>& findings) override;
    void ReorderRows(const std::function<void()>& reorder) override;
    int CurrentRow() const override;
    void SetCurrentRow(std::size_t row) override;
    void MarkRowForMenu(std::size_t row) override;
    std::vector<std::size_t> SelectedRows() const override;
    void ShowMessage(MessageIcon icon, const std::u16string& text) override;
    void OpenUrl(const std::string& address) override;
    std::optional<SaveChoice> ChooseSaveFile(const std::u16string& caption,
                                             const std::vector<std::u16string>& filters,
                                             std::size_t chosenFilter) override;
    std::optional<std::u16string> SaveWholeFile(const std::string& path,
                                                const std::string& bytes) override;
    void RunInBackground(std::function<bool()> work, std::function<void(bool)> done) override;
    void StopBackgroundWork() override;
    void PostProgress(std::u16string text) override;
    void OpenAssignDialog(AssignSite site) override;
    void CloseAssignDialog() override;
    void EndDialog() override;

    // Posted when the keyboard moved the list's focus mark; handled once the moves settle.
    static constexpr UINT kRowSettledMessage = WM_APP + 2;
    // Posted when the window moved to a monitor of another DPI; handled once Windows has scaled
    // the template's controls, to scale the fonts and columns the window sets itself.
    static constexpr UINT kDpiSettledMessage = WM_APP + 4;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id);
    // Returns the notification's result and whether it was answered.
    std::optional<LRESULT> OnListNotify(NMHDR& header);
    // The context menu; its entries come back as WM_COMMAND.
    void OnContextMenu(HWND source, POINT screen);
    void ShowAboutBox();
    HWND Item(ControlId id) const;
    bool IsAddressField(ControlId id) const;

    // Kept for the assign dialog, which calls the library on its own.
    const LibraryApi m_Api;
    HINSTANCE m_Instance;
    DesktopActions m_Actions;
    std::unique_ptr<DialogController> m_Controller;
    HWND m_Window = nullptr;
    std::unique_ptr<DeviceListView> m_List;
    std::unique_ptr<BackgroundTask> m_Background;
    // Open while addresses are assigned.
    std::unique_ptr<AssignWindow> m_Assign;
    GdiFont m_ListFont;
    GdiFont m_HelpFont;
    GdiFont m_ChoiceFont;
    HICON m_Icon = nullptr;
    bool m_RowSettlePending = false;
};

} // namespace kestrun::win32

#pragma once

#include "DialogController.h"
#include "DialogView.h"
#include "LibraryApi.h"
#include "ListExportDialog.h"

#include <QDialog>
#include <QThread>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QModelIndex;
class QTreeView;

namespace kestrun {

class AssignDlg;
class DeviceListModel;
class SearchWorker;
struct ControlTemplate;

// The program's one window on Qt: the devices found on the left, the settings of the device last
// clicked on the right. What the user's events do is the controller's; this class makes the
// widgets, forwards the events and shows what the controller asks for.
class CIpEditDlg : public QDialog, private DialogView {
    Q_OBJECT

public:
    // `wsdScan`, when given, runs beside every search.
    explicit CIpEditDlg(const LibraryApi& api, std::unique_ptr<WsdScan> wsdScan = nullptr,
                        QWidget* parent = nullptr);
    ~CIpEditDlg() override;

    // Exit button, Escape and the close box all end here.
    void reject() override;

    DialogController& Controller() { return *m_Controller; }

    // Replaces the file dialog of "Export list...".
    void SetSaveFileChooser(SaveFileChooser chooser) { m_ChooseSaveFile = std::move(chooser); }

protected:
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateControl(const ControlTemplate& control);
    void ConnectControls();
    template <typename Widget> Widget* Control(ControlId id) const;
    QTreeView* List() const;

    void ShowAboutBox();
    void OnAssignClosed();
    void OnBackgroundFinished(bool result);
    // Arrows, Home/End, the page keys and Space choose a row as a click does.
    static bool IsRowChoosingKey(int key);
    // True when the press was on a row and is handled here.
    bool OnRightPressDevList(const QModelIndex& index);

    // DialogView
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

    const LibraryApi m_Api;
    std::unique_ptr<DialogController> m_Controller;
    // The view over the controller's rows; owned by the dialog as its parent.
    DeviceListModel* m_ListModel = nullptr;

    // Background work (the search's wait) runs on this thread so that the window keeps
    // painting. The worker goes before the thread object does.
    QThread m_WorkerThread;
    std::unique_ptr<SearchWorker> m_Worker;
    std::function<void(bool)> m_BackgroundDone;
    // Open while addresses are assigned.
    std::unique_ptr<AssignDlg> m_AssignDialog;
    bool m_Initialised = false;

    // The controls, owned by the dialog as their parent.
    std::map<ControlId, QWidget*> m_Controls;
    QAction* m_AboutAction = nullptr;
    QAction* m_AssignAction = nullptr;
    QAction* m_ExportAction = nullptr;
    SaveFileChooser m_ChooseSaveFile = FileDialogChooser();
};

} // namespace kestrun

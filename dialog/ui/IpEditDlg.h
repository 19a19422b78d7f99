#pragma once

#include "DeviceEditor.h"
#include "DeviceList.h"
#include "DeviceSearch.h"
#include "ExtraTextTable.h"
#include "InterfaceChoice.h"
#include "LanguageLoader.h"
#include "LibraryApi.h"
#include "ListExportDialog.h"
#include "RowFindings.h"
#include "UiTextTable.h"

#include <QDialog>
#include <QMessageBox>
#include <QThread>

#include <map>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QModelIndex;
class QTreeView;

namespace kestrun {

class AssignDlg;
class DeviceListModel;
class Ipv4AddressField;
class SearchWorker;
struct ControlTemplate;

// The program's one window: the devices found on the left, the settings of the device last
// clicked on the right. The rules live in the plain classes it holds; this class shows them.
class CIpEditDlg : public QDialog, private ControlTextSink {
    Q_OBJECT

public:
    explicit CIpEditDlg(const LibraryApi& api, QWidget* parent = nullptr);
    ~CIpEditDlg() override;

    // Exit button, Escape and the close box all end here.
    void reject() override;

    // Replaces the file dialog of "Export list...".
    void SetSaveFileChooser(SaveFileChooser chooser) { m_ChooseSaveFile = std::move(chooser); }

signals:
    void SearchRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateControl(const ControlTemplate& control);
    void ConnectControls();
    void SetControlText(ControlId control, const std::u16string& text) override;
    template <typename Widget> Widget* Control(ControlId id) const;

    void OnInitDialog();
    void OnCancel();
    void ShowAboutBox();
    void OpenAssignDialog();
    void OnAssignClosed();
    // Waits for a batch still running and deletes the assign dialog.
    void DropAssignDialog();
    std::vector<MacBytes> SelectedMacs() const;
    void OnExportList();

    void OnSearch();
    void OnSearchFinished(bool searched);
    void SetSearching(bool searching);
    void ClearSettingsFields();
    void ShowInterfaceChoice();
    void ShowDeviceRows();
    void OnColumnClickDevList(int column);
    // Highlights the row of the device in the fields, so that the list shows what Submit changes.
    void ShowLoadedRow();

    void OnClickDevList(int row);
    // Arrows, Home/End, the page keys and Space choose a row as a click does.
    static bool IsRowChoosingKey(int key);
    // Loads the row with the focus mark unless its device is loaded already.
    void LoadCurrentRow();
    // True when the press was on a row and is handled here.
    bool OnRightPressDevList(const QModelIndex& index);
    void OnDblClickDevList(int row);
    void OnRadioStatic();
    void OnRadioDHCP();
    void SetAddressingFieldsEnabled(bool enabled);
    void SetCredentialsVisible(bool visible);
    void OnSubmit();
    SettingsForm ReadForm() const;
    // Tells the user whether the device shows what was sent, and loads it again when listed.
    void ReportSubmit();
    void ShowMessage(QMessageBox::Icon icon, const std::u16string& text);

    LibraryApi m_Api;
    UiTextTable m_Texts;
    ExtraTextTable m_ExtraTexts;
    InterfaceChoice m_Choice;
    DeviceList m_Devices;
    DeviceSearch m_Search;
    // The view over m_Devices; owned by the dialog as its parent.
    DeviceListModel* m_ListModel = nullptr;
    std::unique_ptr<LanguageLoader> m_LanguageLoader;
    std::unique_ptr<DeviceEditor> m_Editor;

    // The search waits on this thread so that the window keeps painting. The worker goes
    // before the thread object does.
    QThread m_SearchThread;
    std::unique_ptr<SearchWorker> m_Worker;
    // Open while addresses are assigned; no search starts meanwhile.
    std::unique_ptr<AssignDlg> m_AssignDialog;
    bool m_Searching = false;
    // The device number whose settings the fields show; none while they are empty.
    std::optional<int> m_LoadedDevice;
    // What the last submit sent, until the search after it has been compared with it.
    struct SentSettings {
        MacBytes mac{};
        SettingsForm form;
        int port = 0;
    };
    std::optional<SentSettings> m_Sent;
    bool m_Initialised = false;
    bool m_Closed = false;

    // The controls, owned by the dialog as their parent.
    std::map<ControlId, QWidget*> m_Controls;
    QAction* m_AboutAction = nullptr;
    QAction* m_AssignAction = nullptr;
    QAction* m_ExportAction = nullptr;
    SaveFileChooser m_ChooseSaveFile = FileDialogChooser();
};

} // namespace kestrun

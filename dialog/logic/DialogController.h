#pragma once

#include "DeviceEditor.h"
#include "DeviceList.h"
#include "DeviceSearch.h"
#include "DialogView.h"
#include "ExtraTextTable.h"
#include "InterfaceChoice.h"
#include "LanguageLoader.h"
#include "LibraryApi.h"
#include "UiTextTable.h"
#include "WsdScan.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

// Kept out of this header: the camera steps' names clash with the batch's in a unit that holds
// both, as a front end's does.
namespace vanmoor::commission {
struct CameraAccess;
struct CameraRead;
struct CameraChangeResult;
} // namespace vanmoor::commission
namespace vanmoor::onvif {
struct Credentials;
}

namespace kestrun {

// The entries of the main window's context menu as they stand when it opens.
struct ContextMenuState {
    std::u16string assignText;
    bool assignEnabled = false;
    bool exportEnabled = false;
};

// The main window's behaviour without any window system: what each user event does, in which
// order it calls the library and writes the log, and what it shows through the view. Front ends
// forward their events here and implement DialogView.
class DialogController {
public:
    // Reads the program log's configuration, as the window is made. `wsdScan`, when given, runs
    // beside every search; its cameras that no library device is get rows of their own.
    DialogController(const LibraryApi& api, DialogView& view,
                     std::unique_ptr<WsdScan> wsdScan = nullptr);
    ~DialogController();

    // The window is about to show for the first time: texts, then init() and the first search.
    void OnInitDialog();
    // Exit, Escape and the close box: waits for a search or batch, deinit(), ends the dialog.
    void OnCancel();
    // The window goes away: nothing may run on after it.
    void OnDestroy();

    void OnSearch();
    void OnColumnClick(int column);
    void OnClickRow(int row);
    void OnDoubleClickRow(int row);
    // The keyboard moved the focus mark onto `row`: loads it unless its device is loaded.
    void OnRowChosen(int row);
    // A right press on `row` (-1: beside the rows). True when it chose the row for the menu.
    bool OnRightPressRow(int row);
    void OnRadioStatic();
    void OnRadioDhcp();
    void OnSubmit();
    // "Read", and Enter in the password field: reads the camera found by WS-Discovery in the
    // fields through its device service, in the background.
    void OnReadCamera();

    ContextMenuState ContextMenu() const;
    void OnAssignAddresses();
    void OnAssignClosed(bool applied);
    void OnExportList();
    // How long a changed camera may take to show its new settings, a reboot included, from its
    // row and in "Assign addresses...": as long as the command line waits unless set.
    void SetVerifyWait(std::chrono::seconds wait) { m_VerifyWait = wait; }

    const DeviceList& Devices() const { return m_Devices; }
    const UiTextTable& Texts() const { return m_Texts; }
    const ExtraTextTable& ExtraTexts() const { return m_ExtraTexts; }

private:
    void OnSearchFinished(bool searched);
    // Busy with a search, or with `progress` when given (a camera's read or change): no other
    // search, submit or read starts meanwhile.
    void SetSearching(bool searching, const std::u16string& progress = {});
    void ClearSettingsFields();
    void ShowInterfaceChoice();
    void ShowLoadedRow();
    void SetAddressingFieldsEnabled(bool enabled);
    void SetCredentialsVisible(bool visible);
    // Shows what is known of a camera found by WS-Discovery alone, every field locked.
    void LoadWsdRow(const vanmoor::site::SiteDevice& device);
    // Locks or unlocks every field and the radio buttons, and shows why while they are locked.
    void SetFieldsReadOnly(bool readOnly);
    void OnCameraRead(vanmoor::commission::CameraRead& read,
                      const vanmoor::onvif::Credentials& credentials);
    // Fills the fields with what `camera`'s device service told, unlocked for a change.
    void ShowReadCamera(const vanmoor::site::SiteDevice& camera);
    std::u16string CameraReadText(const vanmoor::commission::CameraRead& read) const;
    // Submit on a read camera: the checks of every row, then the verified change in the
    // background; the search after it reloads the row and tells the end.
    void SubmitCamera(SettingsForm form);
    std::u16string CameraChangeText(const vanmoor::commission::CameraChangeResult& result) const;
    // Shows a refused form's message and puts the focus on the field to mend.
    void ShowFormRefusal(FormProblem problem);
    void ReportCameraChange();
    bool IsLoaded(std::size_t row) const;
    SettingsForm ReadForm() const;
    // Tells the user whether the device shows what was sent, and loads it again when listed.
    // `searched`: whether the search after the submit ran; when it failed, the list still shows
    // the devices from before and tells nothing of the result.
    void ReportSubmit(bool searched);
    std::vector<MacBytes> SelectedMacs() const;

    LibraryApi m_Api;
    DialogView& m_View;
    UiTextTable m_Texts;
    ExtraTextTable m_ExtraTexts;
    InterfaceChoice m_Choice;
    DeviceList m_Devices;
    std::unique_ptr<WsdScan> m_WsdScan;
    DeviceSearch m_Search;
    std::unique_ptr<LanguageLoader> m_LanguageLoader;
    std::unique_ptr<DeviceEditor> m_Editor;

    bool m_Searching = false;
    // Open while addresses are assigned; no search starts meanwhile.
    bool m_AssignOpen = false;
    bool m_Closed = false;
    std::chrono::seconds m_VerifyWait = vanmoor::commission::kDefaultVerifyWait;
    // The device number whose settings the fields show; none while they are empty.
    std::optional<int> m_LoadedDevice;
    // The WS-Discovery camera the fields show instead, read-only; the list's own entry.
    const vanmoor::site::SiteDevice* m_LoadedWsd = nullptr;
    // What the last submit sent, until the search after it has been compared with it.
    struct SentSettings {
        MacBytes mac{};
        SettingsForm form;
        int port = 0;
    };
    std::optional<SentSettings> m_Sent;
    // The credentials a camera last took, kept for the session: filled into the fields when
    // the next camera with a device service is shown, read only when the user asks.
    std::unique_ptr<vanmoor::onvif::Credentials> m_CameraLogin;
    // The camera in the fields as read, when it was: what a change starts from.
    std::unique_ptr<vanmoor::commission::CameraAccess> m_CameraRead;
    // A camera's change, until the search after it has reloaded the row.
    struct CameraReport {
        std::string endpoint;
        MessageIcon icon = MessageIcon::Warning;
        std::u16string text;
    };
    std::optional<CameraReport> m_CameraReport;
};

} // namespace kestrun

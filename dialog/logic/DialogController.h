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

#include <memory>
#include <optional>
#include <string>

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

    ContextMenuState ContextMenu() const;
    void OnAssignAddresses();
    void OnAssignClosed(bool applied);
    void OnExportList();

    const DeviceList& Devices() const { return m_Devices; }
    const UiTextTable& Texts() const { return m_Texts; }
    const ExtraTextTable& ExtraTexts() const { return m_ExtraTexts; }

private:
    void OnSearchFinished(bool searched);
    void SetSearching(bool searching);
    void ClearSettingsFields();
    void ShowInterfaceChoice();
    void ShowLoadedRow();
    void SetAddressingFieldsEnabled(bool enabled);
    void SetCredentialsVisible(bool visible);
    // Shows what is known of a camera found by WS-Discovery alone, every field locked.
    void LoadWsdRow(const vanmoor::site::SiteDevice& device);
    // Locks or unlocks every field and the radio buttons, and shows why while they are locked.
    void SetFieldsReadOnly(bool readOnly);
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
};

} // namespace kestrun

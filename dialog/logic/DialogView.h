#pragma once

#include "AssignPlanner.h"
#include "ControlId.h"
#include "LanguageLoader.h"
#include "RowFindings.h"
#include "SharedSettings.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrun {

enum class MessageIcon {
    None, // the plain notice of a refused network card: no icon, no caption
    Information,
    Warning,
};

// Where "Export list..." goes, as the user chose it.
struct SaveChoice {
    std::string path; // UTF-8
    std::size_t filter = 0;
};

// What the main window must do for the dialog controller: one implementation per front end. All
// calls come on the user-interface thread. Control texts arrive through ControlTextSink.
class DialogView : public ControlTextSink {
public:
    // Edit fields (name, port, MAC, credentials) and address fields.
    virtual std::u16string FieldText(ControlId field) const = 0;
    virtual void SetFieldText(ControlId field, const std::u16string& text) = 0;
    virtual Ipv4Octets FieldAddress(ControlId field) const = 0;
    virtual void SetFieldAddress(ControlId field, const Ipv4Octets& address) = 0;
    // An address field that holds some of its four numbers but not all ("192.168.1."): neither
    // an address nor empty, so it must not be read as one.
    virtual bool IsAddressPartlyFilled(ControlId field) const = 0;
    // Empties an edit or an address field.
    virtual void ClearField(ControlId field) = 0;
    // Puts the keyboard focus on a field with its whole text selected.
    virtual void FocusField(ControlId field) = 0;

    virtual bool IsChecked(ControlId radio) const = 0;
    virtual void SetChecked(ControlId radio, bool checked) = 0;
    virtual void EnableControl(ControlId control, bool enabled) = 0;
    virtual void ShowControl(ControlId control, bool visible) = 0;

    // Once the texts are in place: fonts, column widths and headings, and the "Export list..."
    // entry's text, as the platform lays them out.
    virtual void ArrangeControls() = 0;

    // The interface drop-down: its entries with `selected` chosen (-1: none); and the user's
    // choice.
    virtual void ShowInterfaceChoice(const std::vector<std::u16string>& entries, int selected) = 0;
    virtual int ChosenInterface() const = 0;

    // The rows of the controller's DeviceList changed wholesale; `findings` follow the rows'
    // order as it is now.
    virtual void ShowRows(const std::vector<RowFinding>& findings) = 0;
    // Runs `reorder`, which sorts the rows; the selection, the focus mark and the findings stay
    // with their devices.
    virtual void ReorderRows(const std::function<void()>& reorder) = 0;
    // The row with the focus mark, -1 when none; and moving the mark (and the selection) there.
    virtual int CurrentRow() const = 0;
    virtual void SetCurrentRow(std::size_t row) = 0;
    // Gives the row under the mouse the focus mark for the context menu; a row of a multiple
    // selection keeps the selection, any other row becomes the only one selected.
    virtual void MarkRowForMenu(std::size_t row) = 0;
    // The selected rows, in any order.
    virtual std::vector<std::size_t> SelectedRows() const = 0;

    virtual void ShowMessage(MessageIcon icon, const std::u16string& text) = 0;
    // Hands the address to the desktop's browser.
    virtual void OpenUrl(const std::string& address) = 0;
    // Asks where to save; none when the user cancelled.
    virtual std::optional<SaveChoice> ChooseSaveFile(const std::u16string& caption,
                                                     const std::vector<std::u16string>& filters,
                                                     std::size_t chosenFilter) = 0;
    // Replaces the file whole or not at all; the reason when it could not.
    virtual std::optional<std::u16string> SaveWholeFile(const std::string& path,
                                                        const std::string& bytes) = 0;

    // Runs `work` off the user-interface thread and hands its result to `done` on that thread
    // later. One at a time.
    virtual void RunInBackground(std::function<bool()> work, std::function<void(bool)> done) = 0;
    // Waits until work still running has ended; its `done` is then not called.
    virtual void StopBackgroundWork() = 0;
    // From work that RunInBackground runs, on its thread: shows `text` on the progress line,
    // later on the user-interface thread, unless the work has been stopped by then.
    virtual void PostProgress(std::u16string text) = 0;

    // "Assign addresses...": opens the assign dialog, which tells the controller when it closed.
    virtual void OpenAssignDialog(AssignSite site) = 0;
    // Waits for a batch still running and closes the assign dialog without telling.
    virtual void CloseAssignDialog() = 0;

    // Closes the window; the program ends.
    virtual void EndDialog() = 0;

protected:
    ~DialogView() = default;
};

} // namespace kestrun

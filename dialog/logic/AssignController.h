#pragma once

#include "AssignPlanner.h"
#include "AssignView.h"
#include "CredentialsBook.h"
#include "ReadCamera.h"

#include "ExtraTextTable.h"
#include "LibraryApi.h"
#include <map>

namespace kestrun {

// "Assign addresses..." without any window system: plans addresses for the chosen devices from
// the view's fields as they change, and applies the plan off the user-interface thread, device
// by device. While it applies nothing else may call the library: closing then says so and
// closes when the batch has ended.
class AssignController {
public:
    // Resends to a device that does not show its settings yet, as often as the command line
    // does by default.
    static constexpr int kRetries = 2;

    AssignController(const LibraryApi& api, AssignSite site, const ExtraTextTable& texts,
                     AssignView& view);

    // The device choice is offered unless several selected rows say which devices; with no row
    // selected, the devices the list marks are the likely ones.
    bool ChoiceOffered() const { return m_Site.selected.size() < 2; }
    AssignChoice InitialChoice() const;

    // A field, a box or the choice changed (and once when the dialog is made).
    void OnFieldsChanged();
    void OnApply();
    // Reads the cameras of the choice not read yet with the typed credentials, in the
    // background; those read are planned from then on, the others are named as left out.
    void OnReadCameras();
    // True when the dialog may close now.
    bool OnClose();

    // Whether a batch ran: the devices' addresses may have changed.
    bool Applied() const { return m_Applied; }

private:
    AssignChoice Choice() const;
    // Whether a chosen device takes a user name and password.
    bool ChosenTakeCredentials() const;
    vanmoor::commission::CredentialsBook TypedBook() const;
    void OnCamerasRead(const std::vector<SiteDevice>& cameras,
                       const std::vector<std::size_t>& places,
                       const std::vector<vanmoor::commission::CameraRead>& reads);
    // The cameras of the choice the last read could not read.
    std::vector<SiteDevice> LeftOut() const;
    // The line above the table while a plan is shown.
    std::u16string PlannedLine() const;
    void OnFinished(const std::vector<AssignOutcome>& outcomes);

    const LibraryApi& m_Api;
    AssignSite m_Site; // takes the cameras as they are read
    const ExtraTextTable& m_Texts;
    AssignView& m_View;
    AssignPreview m_Preview;
    bool m_Applied = false;
    bool m_Running = false; // a batch or a read runs
    // Each camera read in this dialog by its place in the site, how its read ended.
    std::map<std::size_t, vanmoor::commission::CameraRead> m_Reads;
    // Closing was asked for while the batch ran.
    bool m_CloseWhenDone = false;
};

} // namespace kestrun

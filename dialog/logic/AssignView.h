#pragma once

#include "AssignPlanner.h"
#include "BatchAssign.h"

#include <functional>
#include <string>
#include <vector>

namespace kestrun {

using vanmoor::commission::AssignOutcome;
using vanmoor::commission::Credentials;

// One device's final result during a batch, with how many are done.
using BatchProgress = std::function<void(const AssignOutcome& outcome, int done)>;
// The batch itself: runs off the user-interface thread, reporting through the progress given.
using BatchWork = std::function<std::vector<AssignOutcome>(const BatchProgress& progress)>;

// What the assign dialog must do for its controller: one implementation per front end. All calls
// come on the user-interface thread.
class AssignView {
public:
    virtual AssignFields Fields() const = 0;
    // The entry of the device choice; read only while the choice is offered.
    virtual AssignChoice Choice() const = 0;
    virtual Credentials TypedCredentials() const = 0;

    // The planned devices, then the cameras left out because they could not be read.
    virtual void ShowPlan(const std::vector<PlannedDevice>& plan,
                          const std::vector<SiteDevice>& leftOut) = 0;
    // The line above the table; empty clears it.
    virtual void ShowMessage(const std::u16string& text) = 0;
    virtual void EnableApply(bool enabled) = 0;
    virtual void ShowCredentials(bool visible) = 0;
    // The "Read cameras" action, offered while the choice holds cameras not read yet.
    virtual void ShowReadCameras(bool visible) = 0;
    virtual void FocusUserName() = 0;

    // A batch over `devices` starts: the fields, Apply and Close locked, the progress at 0.
    virtual void ShowBatchStarted(std::size_t devices) = 0;
    virtual void ShowOutcome(const AssignOutcome& outcome) = 0;
    virtual void ShowProgress(int done) = 0;
    // The batch ended: the progress full, Close usable again and focused.
    virtual void ShowBatchEnded() = 0;

    // Runs `work` off the user-interface thread; hands each report to `progress` and the
    // outcomes to `finished` on the user-interface thread. One at a time.
    virtual void RunBatch(BatchWork work, BatchProgress progress,
                          std::function<void(const std::vector<AssignOutcome>&)> finished) = 0;
    // Runs `work` off the user-interface thread, the fields, Apply and Close locked, then unlocks
    // them and calls `done` on the user-interface thread. Never while a batch runs.
    virtual void RunInBackground(std::function<void()> work, std::function<void()> done) = 0;
    virtual void CloseDialog() = 0;

protected:
    ~AssignView() = default;
};

} // namespace kestrun

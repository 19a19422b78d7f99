#include "AssignController.h"

#include "LibraryLink.h"

#include <algorithm>

namespace kestrun {

AssignController::AssignController(const LibraryApi& api, AssignSite site,
                                   const ExtraTextTable& texts, AssignView& view)
    : m_Api(api), m_Site(std::move(site)), m_Texts(texts), m_View(view) {}

AssignChoice AssignController::InitialChoice() const {
    return m_Site.selected.empty() ? AssignChoice::Marked : AssignChoice::Selected;
}

AssignChoice AssignController::Choice() const {
    return ChoiceOffered() ? m_View.Choice() : AssignChoice::Selected;
}

void AssignController::OnFieldsChanged() {
    m_Preview = PreviewAssign(m_Site, Choice(), m_View.Fields());
    m_View.ShowPlan(m_Preview.plan);
    switch (m_Preview.state) {
    case PreviewState::Planned:
        m_View.ShowMessage({});
        break;
    case PreviewState::NoFirst:
        m_View.ShowMessage(m_Texts.Text(ExtraText::AssignEnterFirst));
        break;
    case PreviewState::NoNetmask:
        m_View.ShowMessage(m_Texts.Text(ExtraText::AssignEnterNetmask));
        break;
    case PreviewState::NoDevices:
        m_View.ShowMessage(m_Texts.Text(ExtraText::AssignNoDevices));
        break;
    case PreviewState::PartlyFilled:
        m_View.ShowMessage(m_Texts.Text(ExtraText::AddressPartlyFilled));
        break;
    case PreviewState::PlanFailed:
        m_View.ShowMessage(m_Texts.Message(m_Preview.error));
        break;
    }
    m_View.EnableApply(m_Preview.state == PreviewState::Planned);
    m_View.ShowCredentials(ChosenTakeCredentials());
}

bool AssignController::ChosenTakeCredentials() const {
    const std::vector<SiteDevice> chosen = ChosenDevices(m_Site, Choice());
    return std::any_of(chosen.begin(), chosen.end(),
                       [](const SiteDevice& device) { return device.TakesCredentials(); });
}

void AssignController::OnApply() {
    if (m_Preview.state != PreviewState::Planned || m_Applied) {
        return;
    }
    const Credentials credentials = m_View.TypedCredentials();
    // Without them such a device refuses every command: ask before sending anything.
    if (ChosenTakeCredentials() && credentials.user.empty() && credentials.password.empty()) {
        m_View.ShowMessage(m_Texts.Text(ExtraText::AssignCredentialsFirst));
        m_View.FocusUserName();
        return;
    }
    m_Applied = true;
    m_Running = true;
    m_View.ShowBatchStarted(m_Preview.plan.size());
    m_View.RunBatch(
        [api = m_Api, plan = m_Preview.plan, credentials](const BatchProgress& progress) {
            LibraryLink link(api);
            vanmoor::commission::BatchAssign batch(
                link, vanmoor::commission::CredentialsBook::ForEveryDevice(credentials), kRetries);
            return batch.Apply(
                plan, [&progress](const AssignOutcome& outcome, std::size_t done, std::size_t) {
                    progress(outcome, static_cast<int>(done));
                });
        },
        [this](const AssignOutcome& outcome, int done) {
            m_View.ShowOutcome(outcome);
            m_View.ShowProgress(done);
        },
        [this](const std::vector<AssignOutcome>& outcomes) { OnFinished(outcomes); });
}

void AssignController::OnFinished(const std::vector<AssignOutcome>& outcomes) {
    m_Running = false;
    for (const AssignOutcome& outcome : outcomes) {
        m_View.ShowOutcome(outcome);
    }
    m_View.ShowBatchEnded();
    if (m_CloseWhenDone) {
        m_View.CloseDialog();
    }
}

bool AssignController::OnClose() {
    if (!m_Running) {
        return true;
    }
    // The library must be free again first; the window goes when the batch ends.
    m_CloseWhenDone = true;
    m_View.ShowMessage(m_Texts.Text(ExtraText::AssignStillRunning));
    return false;
}

} // namespace kestrun

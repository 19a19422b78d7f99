#include "AssignController.h"

#include "CameraBatch.h"
#include "LibraryLink.h"
#include "SubmitCheck.h"

#include <algorithm>
#include <memory>

namespace kestrun {

namespace {

using vanmoor::commission::CameraRead;
using vanmoor::commission::CameraReadEnd;

ExtraText WhyNotRead(CameraReadEnd end) {
    switch (end) {
    case CameraReadEnd::LoginRefused:
        return ExtraText::CameraLoginRefused;
    case CameraReadEnd::Unreachable:
        return ExtraText::CameraNoAnswer;
    case CameraReadEnd::Read:
    case CameraReadEnd::NoDeviceService:
    case CameraReadEnd::NotDeviceService:
        break;
    }
    return ExtraText::CameraNoDeviceService;
}

// The camera as the user knows it before it is read: by its name, else its address.
std::u16string CameraLabel(const SiteDevice& camera) {
    const std::u16string address = Utf16FromAscii(vanmoor::settings::DottedText(camera.ip));
    return camera.name.empty() ? address : Utf16FromUtf8(camera.name) + u" (" + address + u")";
}

} // namespace

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
    m_View.ShowPlan(m_Preview.plan, LeftOut());
    switch (m_Preview.state) {
    case PreviewState::Planned:
        m_View.ShowMessage(PlannedLine());
        break;
    case PreviewState::NoFirst:
        m_View.ShowMessage(m_Texts.Text(ExtraText::AssignEnterFirst));
        break;
    case PreviewState::NoNetmask:
        m_View.ShowMessage(m_Texts.Text(ExtraText::AssignEnterNetmask));
        break;
    case PreviewState::NoDevices: {
        const std::u16string line = PlannedLine();
        m_View.ShowMessage(line.empty() ? m_Texts.Text(ExtraText::AssignNoDevices) : line);
        break;
    }
    case PreviewState::PartlyFilled:
        m_View.ShowMessage(m_Texts.Text(ExtraText::AddressPartlyFilled));
        break;
    case PreviewState::PlanFailed:
        m_View.ShowMessage(m_Texts.Message(m_Preview.error));
        break;
    }
    m_View.EnableApply(m_Preview.state == PreviewState::Planned && !m_Running);
    const bool unread = !UnreadCameras(m_Site, Choice()).empty();
    m_View.ShowCredentials(unread || ChosenTakeCredentials());
    m_View.ShowReadCameras(unread);
}

std::vector<SiteDevice> AssignController::LeftOut() const {
    std::vector<SiteDevice> leftOut;
    for (const std::size_t place : UnreadCameras(m_Site, Choice())) {
        if (m_Reads.count(place) != 0) {
            leftOut.push_back(m_Site.found[place]);
        }
    }
    return leftOut;
}

std::u16string AssignController::PlannedLine() const {
    std::u16string list;
    bool neverTried = false;
    for (const std::size_t place : UnreadCameras(m_Site, Choice())) {
        const auto read = m_Reads.find(place);
        if (read == m_Reads.end()) {
            neverTried = true;
            continue;
        }
        list += (list.empty() ? u"" : u"; ") + CameraLabel(m_Site.found[place]) + u": " +
                m_Texts.Text(WhyNotRead(read->second.end));
    }
    if (!list.empty()) {
        return FillIn(m_Texts.Text(ExtraText::AssignCamerasLeftOut), list);
    }
    return neverTried ? m_Texts.Text(ExtraText::AssignReadCamerasFirst) : std::u16string();
}

bool AssignController::ChosenTakeCredentials() const {
    const std::vector<SiteDevice> chosen = ChosenDevices(m_Site, Choice());
    // A camera read through its device service logs in for every change too.
    return std::any_of(chosen.begin(), chosen.end(), [](const SiteDevice& device) {
        return device.TakesCredentials() || device.deviceService.has_value();
    });
}

vanmoor::commission::CredentialsBook AssignController::TypedBook() const {
    return vanmoor::commission::CredentialsBook::ForEveryDevice(m_View.TypedCredentials());
}

void AssignController::OnReadCameras() {
    const std::vector<std::size_t> places = UnreadCameras(m_Site, Choice());
    if (m_Running || m_Applied || places.empty()) {
        return;
    }
    const Credentials typed = m_View.TypedCredentials();
    if (typed.user.empty() && typed.password.empty()) {
        m_View.ShowMessage(m_Texts.Text(ExtraText::AssignCredentialsFirst));
        m_View.FocusUserName();
        return;
    }
    // Shared with the work, which fills it off the user-interface thread; read only after.
    struct Reading {
        std::vector<SiteDevice> cameras;
        std::vector<CameraRead> reads;
    };
    auto reading = std::make_shared<Reading>();
    for (const std::size_t place : places) {
        reading->cameras.push_back(m_Site.found[place]);
    }
    m_Running = true;
    m_View.EnableApply(false);
    m_View.ShowMessage(m_Texts.Text(ExtraText::AssignReadingCameras));
    m_View.RunInBackground(
        [reading, book = TypedBook()] {
            reading->reads = vanmoor::commission::ReadCameras(reading->cameras, book, {});
        },
        [this, reading, places] { OnCamerasRead(reading->cameras, places, reading->reads); });
}

void AssignController::OnCamerasRead(const std::vector<SiteDevice>& cameras,
                                     const std::vector<std::size_t>& places,
                                     const std::vector<CameraRead>& reads) {
    m_Running = false;
    // One read per camera tried, in order; each tried here offers a device service.
    const bool eachTried = reads.size() == cameras.size();
    for (std::size_t i = 0; i < cameras.size(); ++i) {
        m_Reads[places[i]] = eachTried ? reads[i] : CameraRead{};
        if (cameras[i].deviceService) {
            m_Site.found[places[i]] = cameras[i];
        }
    }
    if (m_CloseWhenDone) {
        m_View.CloseDialog();
        return;
    }
    OnFieldsChanged();
}

void AssignController::OnApply() {
    if (m_Preview.state != PreviewState::Planned || m_Applied || m_Running) {
        return;
    }
    const Credentials typed = m_View.TypedCredentials();
    // Without them such a device refuses every command: ask before sending anything.
    if (ChosenTakeCredentials() && typed.user.empty() && typed.password.empty()) {
        m_View.ShowMessage(m_Texts.Text(ExtraText::AssignCredentialsFirst));
        m_View.FocusUserName();
        return;
    }
    // The cameras read here change from that read; those read in the main window are read
    // again first, for the access a change starts from.
    std::vector<CameraRead> reads;
    std::vector<SiteDevice> readBefore;
    for (const PlannedDevice& planned : m_Preview.plan) {
        if (!planned.device.deviceService) {
            continue;
        }
        const auto read = std::find_if(m_Reads.begin(), m_Reads.end(), [&](const auto& entry) {
            return entry.second.end == CameraReadEnd::Read &&
                   m_Site.found[entry.first].mac == planned.device.mac;
        });
        if (read != m_Reads.end()) {
            reads.push_back(read->second);
        } else {
            readBefore.push_back(planned.device);
        }
    }
    m_Applied = true;
    m_Running = true;
    m_View.ShowBatchStarted(m_Preview.plan.size());
    // A camera that could not be read has its result now: nothing is sent to it.
    for (const std::size_t place : UnreadCameras(m_Site, Choice())) {
        if (const auto read = m_Reads.find(place); read != m_Reads.end()) {
            m_View.ShowOutcome(
                vanmoor::commission::UnreadOutcome(m_Site.found[place], read->second));
        }
    }
    m_View.RunBatch(
        [api = m_Api, plan = m_Preview.plan, reads, readBefore, book = TypedBook(),
         verifyWait = m_Site.verifyWait](const BatchProgress& progress) mutable {
            if (!readBefore.empty()) {
                const std::vector<CameraRead> again =
                    vanmoor::commission::ReadCameras(readBefore, book, {});
                reads.insert(reads.end(), again.begin(), again.end());
            }
            LibraryLink link(api);
            vanmoor::commission::CameraBatchOptions options;
            options.verifyWait = verifyWait;
            return vanmoor::commission::ApplyPlan(
                link, plan, reads, book, kRetries, options,
                [&progress](const AssignOutcome& outcome, std::size_t done, std::size_t) {
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
    m_View.ShowMessage(
        m_Texts.Text(m_Applied ? ExtraText::AssignStillRunning : ExtraText::AssignStillReading));
    return false;
}

} // namespace kestrun

#include "BatchAssign.h"

#include "SettingsForm.h"
#include "SettingsVerification.h"
#include "Utf8Text.h"

#include <map>

namespace vanmoor::commission {

namespace {

// The planned settings as the shared rules turn them into the library's records.
settings::SettingsForm PlannedForm(const PlannedDevice& planned,
                                   const std::optional<Credentials>& credentials) {
    settings::SettingsForm form;
    form.nameBytes = planned.name;
    form.portText = settings::Utf16FromAscii(std::to_string(planned.device.port));
    form.ip = planned.ip;
    form.netmask = planned.netmask;
    form.gateway = planned.gateway;
    form.dns1 = planned.dns1;
    form.dns2 = planned.dns2;
    form.dhcp = false;
    if (planned.device.TakesCredentials() && credentials) {
        form.user = settings::Utf16FromUtf8(credentials->user);
        form.password = settings::Utf16FromUtf8(credentials->password);
    }
    return form;
}

// Why a device that takes credentials gets no command; empty when it gets one.
std::string WhyNoCommand(const SiteDevice& device, const std::optional<Credentials>& credentials) {
    if (!device.TakesCredentials()) {
        return {};
    }
    if (!credentials) {
        return "no credentials for it";
    }
    // Cut, they would be a wrong password the device refuses without a word.
    if (credentials->user.size() > settings::kMaxCredentialBytes ||
        credentials->password.size() > settings::kMaxCredentialBytes) {
        return "its user name and password may have at most 31 bytes each";
    }
    return {};
}

} // namespace

const char* AssignResultText(AssignResult result) {
    switch (result) {
    case AssignResult::Changed:
        return "changed";
    case AssignResult::Unchanged:
        return "unchanged";
    case AssignResult::NotFound:
        return "not found";
    case AssignResult::Refused:
        return "refused";
    case AssignResult::FailedToSend:
        return "failed to send";
    case AssignResult::Kept:
        return "kept";
    }
    return "";
}

bool ShowsPlan(const SiteDevice& seen, const PlannedDevice& planned) {
    return SettingsDifferences(seen, PlannedForm(planned, {}), planned.device.port).empty();
}

BatchAssign::BatchAssign(DeviceLink& link, CredentialsBook book, int retries)
    : m_Link(link), m_Book(std::move(book)), m_Retries(retries) {}

bool BatchAssign::SendOne(AssignOutcome& outcome) {
    const settings::SettingsForm form =
        PlannedForm(outcome.planned, m_Book.For(outcome.planned.device));
    const int port = outcome.planned.device.port;
    const MacBytes mac = outcome.planned.device.MacOrZero();
    ++outcome.sends;
    return outcome.planned.device.TakesCredentials()
               ? m_Link.Send(settings::MakeAuthNetSettings(form, port, mac))
               : m_Link.Send(settings::MakeNetSettings(form, port, mac));
}

std::vector<AssignOutcome> BatchAssign::Apply(const std::vector<PlannedDevice>& plan,
                                              const Progress& progress) {
    std::vector<AssignOutcome> outcomes;
    for (const PlannedDevice& planned : plan) {
        outcomes.push_back({planned, AssignResult::NotFound, std::nullopt, 0, {}, false});
    }
    std::size_t done = 0;
    const auto report = [&](const AssignOutcome& outcome) {
        if (progress) {
            progress(outcome, ++done, outcomes.size());
        }
    };
    // Devices whose result is not final yet, by index; each round sends to them and searches.
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        outcomes[i].detail = WhyNoCommand(plan[i].device, m_Book.For(plan[i].device));
        if (outcomes[i].detail.empty()) {
            open.push_back(i);
        } else {
            outcomes[i].result = AssignResult::Refused;
            report(outcomes[i]);
        }
    }
    // A device that takes credentials and was sent its command waits for a search to show
    // whether it took it, however many searches it misses.
    std::vector<bool> awaitingAnswer(outcomes.size(), false);
    std::vector<bool> lastSendFailed(outcomes.size(), false);
    for (int round = 0; round <= m_Retries && !open.empty(); ++round) {
        for (std::size_t index : open) {
            if (awaitingAnswer[index]) {
                continue;
            }
            lastSendFailed[index] = !SendOne(outcomes[index]);
            awaitingAnswer[index] =
                !lastSendFailed[index] && outcomes[index].planned.device.TakesCredentials();
        }
        std::map<MacBytes, SiteDevice> seen;
        for (SiteDevice& device : m_Link.Search().value_or(std::vector<SiteDevice>{})) {
            seen[device.MacOrZero()] = std::move(device);
        }
        std::vector<std::size_t> stillOpen;
        for (std::size_t index : open) {
            AssignOutcome& outcome = outcomes[index];
            const auto answer = seen.find(outcome.planned.device.MacOrZero());
            if (answer == seen.end()) {
                outcome.result =
                    lastSendFailed[index] ? AssignResult::FailedToSend : AssignResult::NotFound;
                stillOpen.push_back(index);
                continue;
            }
            outcome.finalAddress = answer->second.ip;
            if (ShowsPlan(answer->second, outcome.planned)) {
                outcome.result = AssignResult::Changed;
                report(outcome);
            } else if (awaitingAnswer[index]) {
                outcome.result = AssignResult::Refused;
                report(outcome);
            } else {
                outcome.result =
                    lastSendFailed[index] ? AssignResult::FailedToSend : AssignResult::Unchanged;
                stillOpen.push_back(index);
            }
        }
        open = std::move(stillOpen);
    }
    for (std::size_t index : open) {
        report(outcomes[index]);
    }
    return outcomes;
}

} // namespace vanmoor::commission

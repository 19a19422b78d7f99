#include "BatchAssign.h"
#include "SiteDevices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace vanmoor::commission::test {
namespace {

// Devices that take the settings sent to them, unless told to lose commands or to want
// other credentials; counts what it was sent.
class FakeLink : public DeviceLink {
public:
    std::optional<std::vector<SiteDevice>> Search() override {
        if (failingSearches > 0) {
            --failingSearches;
            return std::nullopt;
        }
        std::vector<SiteDevice> answers;
        for (const SiteDevice& device : devices) {
            if (searchesToMiss[(*device.mac)[5]]-- <= 0) {
                answers.push_back(device);
            }
        }
        return answers;
    }
    bool Send(const NetSettings& settings) override {
        return Take(settings, "", "", settings.name, sizeof settings.name);
    }
    bool Send(const AuthNetSettings& settings) override {
        return Take(settings, settings.user, settings.password, settings.name,
                    sizeof settings.name);
    }

    std::vector<SiteDevice> devices;
    std::map<int, int> commandsToLose; // by last MAC byte
    std::map<int, int> received;
    std::map<int, int> searchesToMiss; // searches a device does not answer, by last MAC byte
    int failingSearches = 0;
    bool onlyTakesTheAddress = false; // a device that keeps its other settings
    bool sendFails = false;
    std::string password = "secret";

private:
    template <typename Record>
    bool Take(const Record& settings, const char* user, const char* pass, const char* name,
              std::size_t nameWidth) {
        if (sendFails) {
            return false;
        }
        const int last = settings.MAC[5];
        ++received[last];
        if (commandsToLose[last] > 0) {
            --commandsToLose[last];
            return true;
        }
        for (SiteDevice& device : devices) {
            if (std::equal(device.mac->begin(), device.mac->end(), settings.MAC) &&
                (!device.TakesCredentials() ||
                 (std::strcmp(user, "admin") == 0 && std::strcmp(pass, password.c_str()) == 0))) {
                std::copy_n(settings.IP, 4, device.ip.begin());
                if (onlyTakesTheAddress) {
                    continue;
                }
                std::copy_n(settings.netmask, 4, device.netmask.begin());
                std::copy_n(settings.gateway, 4, device.gateway.begin());
                std::copy_n(settings.DNS1, 4, device.dns1.begin());
                std::copy_n(settings.DNS2, 4, device.dns2.begin());
                device.name.assign(name, strnlen(name, nameWidth));
            }
        }
        return true;
    }
};

std::vector<PlannedDevice> PlanFor(const std::vector<SiteDevice>& devices) {
    PlanRequest request;
    request.first = Ip("192.0.2.100");
    request.netmask = Ip("255.255.255.0");
    request.gateway = Ip("192.0.2.1");
    request.namePattern = "Cam-{n}";
    return PlanAddresses(devices, devices, {Host()}, request);
}

CredentialsBook Admin(const std::string& password) {
    return CredentialsBook::ForEveryDevice({"admin", password});
}

TEST(BatchAssignTest, EveryDeviceIsChangedAndVerifiedAndLostCommandsAreSentAgain) {
    FakeLink link;
    link.devices = {Camera(1, "192.168.1.108"), Camera(2, "192.168.1.108"),
                    Camera(3, "192.168.1.108")};
    link.devices[2].protocol = 32970;
    link.commandsToLose[2] = 2;
    std::vector<std::size_t> progress;
    const auto outcomes =
        BatchAssign(link, Admin("secret"), 2)
            .Apply(PlanFor(link.devices),
                   [&](const AssignOutcome&, std::size_t done, std::size_t total) {
                       EXPECT_EQ(total, 3u);
                       progress.push_back(done);
                   });
    ASSERT_EQ(outcomes.size(), 3u);
    for (const AssignOutcome& outcome : outcomes) {
        EXPECT_EQ(outcome.result, AssignResult::Changed) << int((*outcome.planned.device.mac)[5]);
        ASSERT_TRUE(outcome.finalAddress);
        EXPECT_EQ(*outcome.finalAddress, outcome.planned.ip);
    }
    EXPECT_EQ(link.devices[1].ip, Ip("192.0.2.101"));
    EXPECT_EQ(link.devices[1].name, "Cam-2");
    EXPECT_EQ(link.received[1], 1);
    EXPECT_EQ(link.received[2], 3) << "two commands lost, the second retry took";
    EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2, 3}));
}

TEST(BatchAssignTest, RetriesRunOutAndRefusalsAreNotRetried) {
    FakeLink link;
    link.devices = {Camera(1, "192.168.1.108"), Camera(2, "192.168.1.108")};
    link.devices[1].protocol = 32970;
    link.commandsToLose[1] = 5;
    const auto outcomes = BatchAssign(link, Admin("wrong"), 1).Apply(PlanFor(link.devices));
    EXPECT_EQ(outcomes[0].result, AssignResult::Unchanged);
    EXPECT_EQ(outcomes[0].sends, 2);
    EXPECT_EQ(outcomes[0].finalAddress, Ip("192.168.1.108"));
    EXPECT_EQ(outcomes[1].result, AssignResult::Refused);
    EXPECT_EQ(outcomes[1].sends, 1);
}

TEST(BatchAssignTest, ADeviceThatIsGoneOrCannotBeSentToSaysSo) {
    FakeLink link;
    link.devices = {Camera(1, "192.168.1.108")};
    const auto plan = PlanFor(link.devices);
    link.devices.clear();
    const auto gone = BatchAssign(link, {}, 1).Apply(plan);
    EXPECT_EQ(gone[0].result, AssignResult::NotFound);
    EXPECT_FALSE(gone[0].finalAddress);

    link.devices = {Camera(1, "192.168.1.108")};
    link.sendFails = true;
    const auto unsent = BatchAssign(link, {}, 2).Apply(plan);
    EXPECT_EQ(unsent[0].result, AssignResult::FailedToSend);
    EXPECT_EQ(unsent[0].sends, 3);
}

// A password cut to fit the command would be a wrong one the device refuses without a word.
TEST(BatchAssignTest, ADeviceWithoutCredentialsOrWithOnesTooLongGetsNoCommand) {
    FakeLink link;
    link.devices = {Camera(1, "192.168.1.108"), Camera(2, "192.168.1.108")};
    link.devices[0].protocol = 32970;
    link.devices[1].protocol = 32970;
    link.password = std::string(32, 's');
    const CredentialsBook book =
        CredentialsBook::Parse("02:00:5e:00:01:01 admin " + link.password + "\n");
    const auto outcomes = BatchAssign(link, book, 1).Apply(PlanFor(link.devices));
    for (const AssignOutcome& outcome : outcomes) {
        EXPECT_EQ(outcome.result, AssignResult::Refused);
        EXPECT_EQ(outcome.sends, 0);
    }
    EXPECT_NE(outcomes[0].detail.find("31 bytes"), std::string::npos) << outcomes[0].detail;
    EXPECT_EQ(outcomes[1].detail, "no credentials for it");
    EXPECT_TRUE(link.received.empty());
}

TEST(BatchAssignTest, ASilentSearchOrAFailedOneIsLookedAtAgainWithoutResendingCredentials) {
    FakeLink link;
    link.devices = {Camera(1, "192.168.1.108"), Camera(2, "192.168.1.108")};
    link.devices[1].protocol = 32970;
    link.searchesToMiss[2] = 1;
    link.failingSearches = 1;
    const auto outcomes = BatchAssign(link, Admin("secret"), 2).Apply(PlanFor(link.devices));
    EXPECT_EQ(outcomes[0].result, AssignResult::Changed);
    EXPECT_EQ(outcomes[0].sends, 2) << "resent after the failed search";
    EXPECT_EQ(outcomes[1].result, AssignResult::Changed)
        << "it took the settings but missed one search";
    EXPECT_EQ(outcomes[1].sends, 1);

    FakeLink gone;
    gone.devices = {Camera(1, "192.168.1.108")};
    gone.failingSearches = 5;
    const auto unseen = BatchAssign(gone, {}, 1).Apply(PlanFor(gone.devices));
    ASSERT_EQ(unseen.size(), 1u) << "every device is reported";
    EXPECT_EQ(unseen[0].result, AssignResult::NotFound);
}

TEST(BatchAssignTest, ADeviceThatTookOnlyTheAddressIsNotCountedAsChanged) {
    FakeLink link;
    link.devices = {Camera(1, "192.168.1.108", "Old")};
    link.devices[0].netmask = Ip("255.255.0.0");
    link.onlyTakesTheAddress = true;
    const auto outcomes = BatchAssign(link, {}, 1).Apply(PlanFor(link.devices));
    EXPECT_EQ(link.devices[0].ip, Ip("192.0.2.100"));
    EXPECT_EQ(outcomes[0].result, AssignResult::Unchanged);
    EXPECT_EQ(outcomes[0].sends, 2);
}

} // namespace
} // namespace vanmoor::commission::test

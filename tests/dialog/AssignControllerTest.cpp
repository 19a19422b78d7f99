#include "AssignController.h"
#include "FakeLibrary.h"
#include "LibraryDevices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace kestrun::test {
namespace {

// An assign dialog without a window system: keeps what the controller shows and holds the batch
// until the test runs it.
class FakeAssignView : public AssignView {
public:
    AssignFields fields;
    AssignChoice choice = AssignChoice::All;
    Credentials credentials;
    std::size_t planRows = 0;
    std::u16string message;
    bool applyEnabled = false;
    bool credentialsShown = false;
    bool userFocused = false;
    std::optional<std::size_t> batchDevices;
    std::vector<int> progress;
    std::vector<AssignOutcome> outcomes;
    bool ended = false;
    bool closed = false;

    // Runs the batch handed over, reporting as its thread would.
    void FinishBatch() {
        m_Finished(
            m_Work([this](const AssignOutcome& outcome, int done) { m_Progress(outcome, done); }));
    }
    bool BatchHandedOver() const { return m_Work != nullptr; }

private:
    AssignFields Fields() const override { return fields; }
    AssignChoice Choice() const override { return choice; }
    Credentials TypedCredentials() const override { return credentials; }
    void ShowPlan(const std::vector<PlannedDevice>& plan) override { planRows = plan.size(); }
    void ShowMessage(const std::u16string& text) override { message = text; }
    void EnableApply(bool enabled) override { applyEnabled = enabled; }
    void ShowCredentials(bool visible) override { credentialsShown = visible; }
    void FocusUserName() override { userFocused = true; }
    void ShowBatchStarted(std::size_t devices) override { batchDevices = devices; }
    void ShowOutcome(const AssignOutcome& outcome) override { outcomes.push_back(outcome); }
    void ShowProgress(int done) override { progress.push_back(done); }
    void ShowBatchEnded() override { ended = true; }
    void RunBatch(BatchWork work, BatchProgress reported,
                  std::function<void(const std::vector<AssignOutcome>&)> finished) override {
        m_Work = std::move(work);
        m_Progress = std::move(reported);
        m_Finished = std::move(finished);
    }
    void CloseDialog() override { closed = true; }

    BatchWork m_Work;
    BatchProgress m_Progress;
    std::function<void(const std::vector<AssignOutcome>&)> m_Finished;
};

FakeDevice Camera(std::uint8_t macEnd, char protocol) {
    return FakeDevice{.name = "Cam",
                      .ip = {192, 0, 2, 99},
                      .netmask = {255, 255, 255, 0},
                      .mac = {0x00, 0x11, 0x22, 0x33, 0x44, macEnd},
                      .port = 80,
                      .protocol = protocol};
}

class AssignControllerTest : public testing::Test {
protected:
    AssignControllerTest() {
        m_Fake.devices = {Camera(0x01, 0), Camera(0x02, 1)};
        m_Fake.setsChangeDevices = true;
    }

    AssignController Make(std::vector<MacBytes> selected) {
        return AssignController(m_Api,
                                AssignSite{ReadSiteDevices(m_Api),
                                           {{{192, 0, 2, 1}, {255, 255, 255, 0}}},
                                           std::move(selected)},
                                m_Texts, m_View);
    }

    FakeLibrary m_Fake;
    LibraryApi m_Api = m_Fake.Api();
    ExtraTextTable m_Texts;
    FakeAssignView m_View;
};

TEST_F(AssignControllerTest,
       ThePreviewSaysWhatIsMissingAndAsksForCredentialsOnlyWhenChosenTakeThem) {
    AssignController plain = Make({m_Fake.devices[0].mac});
    EXPECT_TRUE(plain.ChoiceOffered());
    EXPECT_EQ(plain.InitialChoice(), AssignChoice::Selected);
    m_View.choice = AssignChoice::Selected;
    plain.OnFieldsChanged();
    EXPECT_EQ(m_View.message, m_Texts.Text(ExtraText::AssignEnterFirst));
    EXPECT_FALSE(m_View.applyEnabled);
    EXPECT_FALSE(m_View.credentialsShown);
    m_View.fields.first = {192, 0, 2, 10};
    plain.OnFieldsChanged();
    EXPECT_EQ(m_View.message, m_Texts.Text(ExtraText::AssignEnterNetmask));
    m_View.fields.netmask = {255, 255, 255, 0};
    plain.OnFieldsChanged();
    EXPECT_EQ(m_View.message, u"");
    EXPECT_EQ(m_View.planRows, 1U);
    EXPECT_TRUE(m_View.applyEnabled);
    // A field with blank numbers ("192.0.2.") is no address: no plan until it is whole or empty.
    m_View.fields.partlyFilled = true;
    plain.OnFieldsChanged();
    EXPECT_EQ(m_View.message, m_Texts.Text(ExtraText::AddressPartlyFilled));
    EXPECT_EQ(m_View.planRows, 0U);
    EXPECT_FALSE(m_View.applyEnabled);
    m_View.fields.partlyFilled = false;

    // Several selected rows say which devices, whatever the choice shows.
    AssignController both = Make({m_Fake.devices[0].mac, m_Fake.devices[1].mac});
    EXPECT_FALSE(both.ChoiceOffered());
    both.OnFieldsChanged();
    EXPECT_EQ(m_View.planRows, 2U);
    EXPECT_TRUE(m_View.credentialsShown);
    both.OnApply();
    EXPECT_EQ(m_View.message, m_Texts.Text(ExtraText::AssignCredentialsFirst));
    EXPECT_TRUE(m_View.userFocused);
    EXPECT_FALSE(m_View.BatchHandedOver());
    EXPECT_FALSE(both.Applied());
}

TEST_F(AssignControllerTest, ABatchReportsEachDeviceAndClosingWhileItRunsWaitsForItsEnd) {
    AssignController controller = Make({m_Fake.devices[0].mac, m_Fake.devices[1].mac});
    m_View.fields.first = {192, 0, 2, 10};
    m_View.fields.netmask = {255, 255, 255, 0};
    m_View.credentials = {"admin", "secret"};
    controller.OnFieldsChanged();
    controller.OnApply();
    EXPECT_EQ(m_View.batchDevices, 2U);
    EXPECT_TRUE(controller.Applied());
    EXPECT_TRUE(m_Fake.calls.empty()); // nothing is sent on this thread

    EXPECT_FALSE(controller.OnClose());
    EXPECT_EQ(m_View.message, m_Texts.Text(ExtraText::AssignStillRunning));
    EXPECT_FALSE(m_View.closed);
    m_View.FinishBatch();
    EXPECT_EQ(std::count(m_Fake.calls.begin(), m_Fake.calls.end(), "set()"), 1);
    EXPECT_EQ(std::count(m_Fake.calls.begin(), m_Fake.calls.end(), "set_MD5()"), 1);
    EXPECT_EQ(m_View.progress, (std::vector<int>{1, 2}));
    EXPECT_EQ(m_View.outcomes.size(), 4U); // as each ends, then all once more at the end
    EXPECT_TRUE(m_View.ended);
    EXPECT_TRUE(m_View.closed);
    EXPECT_TRUE(controller.OnClose());
}

} // namespace
} // namespace kestrun::test

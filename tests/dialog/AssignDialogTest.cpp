// The "Assign addresses..." dialog against a fake library: the plan it previews for the rows
// chosen, and a batch applied on its own thread, ending with each device's result and a new
// search of the main window.
#include "AssignDlg.h"
#include "DialogDriver.h"
#include "FakeLibrary.h"
#include "Ipv4AddressField.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <future>
#include <memory>
#include <set>
#include <thread>

namespace kestrun::test {

namespace {

// The table's columns, as the dialog lays them out.
constexpr int kPlannedColumn = 3;
constexpr int kPlannedNameColumn = 4;
constexpr int kNetmaskColumn = 5;
constexpr int kGatewayColumn = 6;
constexpr int kDns1Column = 7;
constexpr int kResultColumn = 9;
constexpr int kFinalColumn = 10;

// On lan 1's subnet, which the test network gives this host, so that only the shared address
// is a problem.
FakeDevice FactoryCamera(const char* name, std::uint8_t macEnd, char protocol) {
    FakeDevice device;
    device.name = name;
    device.ip = {192, 0, 2, 99};
    device.netmask = {255, 255, 255, 0};
    device.mac = {0x00, 0x11, 0x22, 0x33, 0x44, macEnd};
    device.port = 80;
    device.protocol = protocol;
    return device;
}

} // namespace

class AssignDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakeLibrary> m_Fake;
    std::unique_ptr<DialogDriver> m_Driver;

    AssignDlg* OpenAssign() {
        m_Driver->Dialog().findChild<QAction*>(QStringLiteral("assignAction"))->trigger();
        return m_Driver->Dialog().findChild<AssignDlg*>();
    }

    template <typename Widget> static Widget* In(AssignDlg* dialog, const char* name) {
        return dialog->findChild<Widget*>(QString::fromLatin1(name));
    }

    static void SetPlan(AssignDlg* dialog, const Ipv4Octets& first, const QString& pattern) {
        In<Ipv4AddressField>(dialog, "netmaskField")->SetAddress({255, 255, 255, 0});
        In<QLineEdit>(dialog, "namePatternField")->setText(pattern);
        In<Ipv4AddressField>(dialog, "firstField")->SetAddress(first);
    }

    static QString Cell(AssignDlg* dialog, int row, int column) {
        const QTableWidgetItem* item = In<QTableWidget>(dialog, "assignTable")->item(row, column);
        return item != nullptr ? item->text() : QString();
    }

private slots:
    void init() {
        m_Fake = std::make_unique<FakeLibrary>();
        m_Fake->localAddresses = {"192.0.2.1"};
        FakeDevice door = FactoryCamera("Door", 0x09, 0);
        door.ip = {192, 0, 2, 11};
        m_Fake->devices = {FactoryCamera("Cam A", 0x01, 0), FactoryCamera("Cam B", 0x02, 0),
                           FactoryCamera("Cam C", 0x03, 1), door};
    }

    void cleanup() {
        m_Driver.reset();
        m_Fake.reset();
    }

    void previewPlansTheSelectedRowsAroundUsedAddressesAndRefusesWhatDoesNotFit() {
        m_Driver = std::make_unique<DialogDriver>(m_Fake->Api());
        m_Driver->ClickRow(m_Driver->RowNamed("Cam A"));
        m_Driver->ClickRow(m_Driver->RowNamed("Cam B"), Qt::ControlModifier);
        AssignDlg* dialog = OpenAssign();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        // Two selected rows say which devices: no choice, and none of them takes credentials.
        QVERIFY(!In<QComboBox>(dialog, "deviceChoice")->isVisible());
        QVERIFY(!In<QLineEdit>(dialog, "userNameField")->isVisible());
        auto* apply = In<QPushButton>(dialog, "applyButton");
        auto* message = In<QLabel>(dialog, "messageLabel");
        QVERIFY(!apply->isEnabled());
        QCOMPARE(message->textFormat(), Qt::PlainText);

        SetPlan(dialog, {192, 0, 2, 10}, QStringLiteral("Cam-{n:02}"));
        QVERIFY2(message->text().isEmpty(), qPrintable(message->text()));
        QVERIFY(apply->isEnabled());
        QCOMPARE(In<QTableWidget>(dialog, "assignTable")->rowCount(), 2);
        // 192.0.2.11 belongs to the door camera, which stays.
        QCOMPARE(Cell(dialog, 0, kPlannedColumn), QStringLiteral("192.0.2.10"));
        QCOMPARE(Cell(dialog, 1, kPlannedColumn), QStringLiteral("192.0.2.12"));
        QCOMPARE(Cell(dialog, 1, kPlannedNameColumn), QStringLiteral("Cam-02"));

        In<Ipv4AddressField>(dialog, "firstField")->SetAddress({192, 0, 2, 254});
        QVERIFY2(message->text().contains(QStringLiteral("do not fit")),
                 qPrintable(message->text()));
        QVERIFY(!apply->isEnabled());

        // Closing without applying sends nothing and searches nothing.
        m_Fake->calls.clear();
        In<QPushButton>(dialog, "closeButton")->click();
        QTest::qWait(0);
        QVERIFY(m_Driver->Dialog().findChild<AssignDlg*>() == nullptr);
        QVERIFY(m_Fake->calls.empty());
    }

    void applyRunsOffTheUiThreadAndReportsEachDevicesResult() {
        FakeDevice deaf = FactoryCamera("Cam D", 0x04, 0);
        deaf.ignoresSets = true;
        FakeDevice locked = FactoryCamera("Cam E", 0x05, 1);
        locked.ignoresSets = true;
        m_Fake->devices.push_back(deaf);
        m_Fake->devices.push_back(locked);
        m_Fake->setsChangeDevices = true;
        m_Driver = std::make_unique<DialogDriver>(m_Fake->Api());
        AssignDlg* dialog = OpenAssign();
        // Nothing selected: the devices the list marks, the five on one address.
        QVERIFY(In<QComboBox>(dialog, "deviceChoice")->isVisible());
        SetPlan(dialog, {192, 0, 2, 10}, QString());
        QCOMPARE(In<QTableWidget>(dialog, "assignTable")->rowCount(), 5);
        QVERIFY(In<QLineEdit>(dialog, "passwordField")->isVisible());
        In<QLineEdit>(dialog, "userNameField")->setText(QStringLiteral("admin"));
        In<QLineEdit>(dialog, "passwordField")->setText(QStringLiteral("secret"));

        std::promise<void> release;
        std::vector<std::thread::id> searchThreads;
        m_Fake->duringSearch = [&searchThreads, released = release.get_future().share()] {
            searchThreads.push_back(std::this_thread::get_id());
            released.wait();
        };
        m_Fake->calls.clear();
        In<QPushButton>(dialog, "applyButton")->click();
        // The batch waits in its first search; the window answers meanwhile and stays open.
        auto* close = In<QPushButton>(dialog, "closeButton");
        QVERIFY(!close->isEnabled());
        QVERIFY(In<QProgressBar>(dialog, "assignProgress")->isVisible());
        m_Driver->Find<QPushButton>("searchButton")->click();
        release.set_value();
        QVERIFY(QTest::qWaitFor([close] { return close->isEnabled(); }, 30000));

        QCOMPARE(std::set<std::thread::id>(searchThreads.begin(), searchThreads.end()).size(),
                 std::size_t{1});
        QVERIFY(searchThreads.front() != std::this_thread::get_id());
        QCOMPARE(In<QProgressBar>(dialog, "assignProgress")->value(), 5);
        const QStringList results[] = {{"changed", "192.0.2.10"},
                                       {"changed", "192.0.2.12"},
                                       {"changed", "192.0.2.13"},
                                       {"unchanged", "192.0.2.99"},
                                       {"refused", "192.0.2.99"}};
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(
                (QStringList{Cell(dialog, row, kResultColumn), Cell(dialog, row, kFinalColumn)}),
                results[row]);
        }
        // The deaf camera got every retry; the locked one a single command, as a wrong
        // password would only be repeated.
        QCOMPARE(std::count(m_Fake->calls.begin(), m_Fake->calls.end(), "set()"), 1 + 1 + 3);
        QCOMPARE(std::count(m_Fake->calls.begin(), m_Fake->calls.end(), "set_MD5()"), 2);
        QCOMPARE(QString::fromLatin1(m_Fake->lastSetMd5->user), QStringLiteral("admin"));

        m_Fake->duringSearch = nullptr;
        close->click();
        QVERIFY(m_Driver->WaitForSearch());
        const QList<QStringList> rows = m_Driver->Rows();
        QCOMPARE(rows[m_Driver->RowNamed("Cam C")][1], QStringLiteral("192.000.002.013"));
    }

    void anEmptyNetmaskOrMissingCredentialsHoldApplyAndSayWhatIsMissing() {
        m_Fake->devices[2].gateway = {192, 0, 2, 1};
        m_Driver = std::make_unique<DialogDriver>(m_Fake->Api());
        // Found on port 32970: it takes a user name and password.
        m_Driver->ClickRow(m_Driver->RowNamed("Cam C"));
        AssignDlg* dialog = OpenAssign();
        auto* apply = In<QPushButton>(dialog, "applyButton");
        auto* message = In<QLabel>(dialog, "messageLabel");
        In<Ipv4AddressField>(dialog, "firstField")->SetAddress({192, 0, 2, 10});
        QVERIFY(!apply->isEnabled());
        QCOMPARE(message->text(), QStringLiteral("Enter the netmask."));

        In<Ipv4AddressField>(dialog, "netmaskField")->SetAddress({255, 255, 255, 0});
        In<Ipv4AddressField>(dialog, "dns1Field")->SetAddress({192, 0, 2, 53});
        QVERIFY2(apply->isEnabled(), qPrintable(message->text()));
        // Every value the command will carry is in the preview.
        QCOMPARE(Cell(dialog, 0, kNetmaskColumn), QStringLiteral("255.255.255.0"));
        // An empty gateway field keeps the device's own.
        QCOMPARE(Cell(dialog, 0, kGatewayColumn), QStringLiteral("192.0.2.1"));
        QCOMPARE(Cell(dialog, 0, kDns1Column), QStringLiteral("192.0.2.53"));

        m_Fake->calls.clear();
        apply->click();
        QCOMPARE(message->text(), QStringLiteral("A chosen device takes a user name and password: "
                                                 "enter them first."));
        QVERIFY(m_Fake->calls.empty());
        QVERIFY(In<QPushButton>(dialog, "closeButton")->isEnabled());
    }

    void anEmptyGatewayKeepsEachDevicesOwnOnlyInTheNewSubnetAndNoneMustBeChosen() {
        m_Fake->devices[2].gateway = {10, 0, 0, 1};
        m_Driver = std::make_unique<DialogDriver>(m_Fake->Api());
        m_Driver->ClickRow(m_Driver->RowNamed("Cam C"));
        AssignDlg* dialog = OpenAssign();
        SetPlan(dialog, {192, 0, 2, 10}, QString());
        auto* message = In<QLabel>(dialog, "messageLabel");
        QVERIFY2(message->text().contains(QStringLiteral("has gateway 10.0.0.1")),
                 qPrintable(message->text()));
        QVERIFY(!In<QPushButton>(dialog, "applyButton")->isEnabled());

        In<QCheckBox>(dialog, "noGatewayBox")->setChecked(true);
        QVERIFY(In<QPushButton>(dialog, "applyButton")->isEnabled());
        QCOMPARE(Cell(dialog, 0, kGatewayColumn), QStringLiteral("0.0.0.0"));
    }

    void closingDuringABatchSaysSoAndClosesWhenItEnds() {
        m_Driver = std::make_unique<DialogDriver>(m_Fake->Api());
        m_Driver->ClickRow(m_Driver->RowNamed("Cam A"));
        AssignDlg* dialog = OpenAssign();
        SetPlan(dialog, {192, 0, 2, 10}, QString());
        std::promise<void> release;
        m_Fake->duringSearch = [released = release.get_future().share()] { released.wait(); };
        In<QPushButton>(dialog, "applyButton")->click();
        // Escape or the close box.
        dialog->reject();
        QVERIFY(dialog->isVisible());
        QCOMPARE(In<QLabel>(dialog, "messageLabel")->text(),
                 QStringLiteral("The addresses are still being assigned. The window closes when "
                                "all devices are done."));
        release.set_value();
        QVERIFY(QTest::qWaitFor(
            [this] { return m_Driver->Dialog().findChild<AssignDlg*>() == nullptr; }, 30000));
        // Closed as after a batch: the main window searches again.
        QVERIFY(m_Driver->WaitForSearch());
    }
};

} // namespace kestrun::test

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    kestrun::test::AssignDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AssignDialogTest.moc"

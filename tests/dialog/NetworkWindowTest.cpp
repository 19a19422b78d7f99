// The main window with the real library, searching simulated devices in the private test
// network: one port-4022 and one port-32970 device on lan 1, one port-4022 device on lan 2.
#include "AssignDlg.h"
#include "DialogDriver.h"
#include "Ipv4AddressField.h"
#include "LibraryApi.h"
#include "LogCapture.h"
#include "NetworkWsdScan.h"
#include "Simulator.h"
#include "TempDirectory.h"
#include "TestNetwork.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <memory>

namespace kestrun::test {

namespace devsim = vanmoor::devsim;

namespace {

devsim::SimDevice Device(devsim::Protocol protocol, devsim::Mac mac, devsim::Ipv4 ip,
                         const char* name, int port) {
    devsim::SimDevice device;
    device.protocol = protocol;
    device.mac = mac;
    device.ip = ip;
    device.name = name;
    device.webPort = port;
    return device;
}

std::unique_ptr<devsim::Simulator> StartSimulator(int lan, std::vector<devsim::SimDevice> devices) {
    auto simulator = std::make_unique<devsim::Simulator>(std::move(devices));
    vanmoor::test::RunInLan(lan, [&] { simulator->Start(); });
    return simulator;
}

// A camera found by WS-Discovery alone, read and changed through its device service.
devsim::SimDevice ServiceCamera(devsim::Mac mac, devsim::Ipv4 ip, const char* name,
                                const char* password) {
    devsim::SimDevice camera = Device(devsim::Protocol::Port4022, mac, ip, name, 80);
    camera.answersDeviceProtocol = false;
    camera.wsd.enabled = true;
    camera.service.enabled = true;
    camera.service.rebootPause = std::chrono::milliseconds(500);
    camera.password = password;
    return camera;
}

template <typename Widget> Widget* In(QWidget* dialog, const char* name) {
    return dialog->findChild<Widget*>(QString::fromLatin1(name));
}

int Count(const std::string& text, const std::string& line) {
    int count = 0;
    for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
        ++count;
    }
    return count;
}

} // namespace

class NetworkWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<devsim::Simulator> m_Lan1;
    std::unique_ptr<devsim::Simulator> m_Lan2;
    std::unique_ptr<LogCapture> m_Log;
    std::unique_ptr<DialogDriver> m_Driver;

    // Changes the name (and the address, when given) of the device in `row` and submits, with
    // the credentials when given; waits for the search that follows and returns the messages
    // shown.
    QStringList Submit(int row, const QString& name, std::optional<Ipv4Octets> ip = std::nullopt,
                       const QString& password = QString()) {
        MessageCatcher messages;
        m_Driver->ClickRow(row);
        m_Driver->Find<QLineEdit>("nameField")->setText(name);
        if (ip) {
            m_Driver->Find<Ipv4AddressField>("ipField")->SetAddress(*ip);
        }
        if (!password.isEmpty()) {
            m_Driver->Find<QLineEdit>("userNameField")->setText(QStringLiteral("admin"));
            m_Driver->Find<QLineEdit>("passwordField")->setText(password);
        }
        m_Driver->Find<QPushButton>("submitButton")->click();
        if (!m_Driver->WaitForSearch()) {
            return {QStringLiteral("the search after the submit did not end")};
        }
        return messages.texts;
    }

private slots:
    void init() {
        m_Lan1 = StartSimulator(1, {Device(devsim::Protocol::Port4022, {2, 0, 0x5e, 0, 1, 1},
                                           {192, 0, 2, 10}, "Lobby", 80),
                                    Device(devsim::Protocol::Port32970, {2, 0, 0x5e, 0, 1, 2},
                                           {192, 0, 2, 11}, "Gate", 8080)});
        m_Lan2 = StartSimulator(2, {Device(devsim::Protocol::Port4022, {2, 0, 0x5e, 0, 2, 1},
                                           {198, 51, 100, 10}, "Yard", 81)});
        m_Log = std::make_unique<LogCapture>();
        m_Driver = std::make_unique<DialogDriver>(RealLibraryApi());
    }

    void cleanup() {
        m_Driver.reset();
        m_Lan1.reset();
        m_Lan2.reset();
        m_Log.reset();
    }

    void firstSearchListsTheDevicesOfBothNetworks() {
        QList<QStringList> rows = m_Driver->Rows();
        std::sort(rows.begin(), rows.end());
        QCOMPARE(rows, (QList<QStringList>{{"Gate", "192.000.002.011"},
                                           {"Lobby", "192.000.002.010"},
                                           {"Yard", "198.051.100.010"}}));
    }

    void choosingAnInterfaceListsOnlyItsDevices() {
        auto* interfaces = m_Driver->Find<QComboBox>("interfaceChoice");
        interfaces->setCurrentIndex(interfaces->findText(QStringLiteral("198.51.100.1")));
        QVERIFY(m_Driver->Search());
        QCOMPARE(m_Driver->Rows(), (QList<QStringList>{{"Yard", "198.051.100.010"}}));
        QCOMPARE(interfaces->currentText(), QStringLiteral("198.51.100.1"));

        interfaces->setCurrentIndex(0);
        QVERIFY(m_Driver->Search());
        QCOMPARE(m_Driver->Rows().size(), 3);
    }

    void aHeadingClickSortsTheList() {
        m_Driver->ClickHeading(1);
        QCOMPARE(m_Driver->Rows()[0][0], QStringLiteral("Yard"));
        QCOMPARE(m_Driver->Rows()[2][0], QStringLiteral("Gate"));
        m_Driver->ClickHeading(2);
        QCOMPARE(m_Driver->Rows()[0][1], QStringLiteral("198.051.100.010"));
        QCOMPARE(m_Driver->Rows()[2][1], QStringLiteral("192.000.002.010"));
    }

    void closingEndsTheLibraryOnceAndLogsBothLines() {
        m_Driver->Dialog().close();
        QCOMPARE(Count(m_Log->LibraryText(), "deinit() begin\n"), 1);
        QCOMPARE(Count(m_Log->LibraryText(), "deinit() end\n"), 1);
        QCOMPARE(Count(m_Log->ProgramText(), "CIpEditDlg::OnCancel() begin\n"), 1);
        QCOMPARE(Count(m_Log->ProgramText(), "CIpEditDlg::OnCancel() end\n"), 1);
    }

    void submitToAPort4022DeviceChangesItsAddressAndName() {
        const int row = m_Driver->RowNamed(QStringLiteral("Lobby"));
        QVERIFY(row >= 0);
        QVERIFY(!m_Driver->Find<QLineEdit>("userNameField")->isVisible());
        QCOMPARE(Submit(row, QStringLiteral("Lobby 2"), Ipv4Octets{192, 0, 2, 20}),
                 QStringList{QStringLiteral("The device took the new settings.")});
        const int changed = m_Driver->RowNamed(QStringLiteral("Lobby 2"));
        QVERIFY(changed >= 0);
        QCOMPARE(m_Driver->Rows()[changed][1], QStringLiteral("192.000.002.020"));
        QCOMPARE(m_Driver->Rows().size(), 3);
        // Still selected and loaded, wherever its row went.
        QCOMPARE(m_Driver->Find<QLineEdit>("nameField")->text(), QStringLiteral("Lobby 2"));
        QVERIFY(m_Driver->Find<QPushButton>("submitButton")->isEnabled());

        // An address on a subnet of neither lan: taken, and listed, but out of reach.
        const QStringList elsewhere =
            Submit(changed, QStringLiteral("Lobby 3"), Ipv4Octets{203, 0, 113, 20});
        QCOMPARE(elsewhere.size(), 1);
        QVERIFY2(elsewhere[0].contains("203.0.113.20 is on subnet 203.0.113.0/24"),
                 qPrintable(elsewhere[0]));
        QVERIFY(m_Driver->RowNamed(QStringLiteral("Lobby 3")) >= 0);
    }

    void submitToAPort32970DeviceNeedsTheRightPassword() {
        QCOMPARE(Submit(m_Driver->RowNamed(QStringLiteral("Gate")), QStringLiteral("Gate 2"),
                        std::nullopt, QStringLiteral("admin")),
                 QStringList{QStringLiteral("The device took the new settings.")});
        QVERIFY(m_Driver->RowNamed(QStringLiteral("Gate 2")) >= 0);

        const QStringList refused =
            Submit(m_Driver->RowNamed(QStringLiteral("Gate 2")), QStringLiteral("Gate 3"),
                   std::nullopt, QStringLiteral("wrong"));
        QCOMPARE(refused.size(), 1);
        QVERIFY2(refused[0].contains("did not accept the user name or password, or did not "
                                     "receive the command"),
                 qPrintable(refused[0]));
        QVERIFY(m_Driver->RowNamed(QStringLiteral("Gate 2")) >= 0);
        QCOMPARE(m_Driver->RowNamed(QStringLiteral("Gate 3")), -1);
    }

    // With the WS-Discovery scan: Lobby also answers it and stays one row; Porch answers it
    // alone and gets a marked row of its own.
    void theWsDiscoveryScanAddsACameraOfItsOwnAndMergesATwin() {
        m_Driver.reset();
        m_Lan1.reset();
        m_Lan2.reset();
        devsim::SimDevice lobby =
            Device(devsim::Protocol::Port4022, {2, 0, 0x5e, 0, 1, 1}, {192, 0, 2, 10}, "Lobby", 80);
        lobby.wsd.enabled = true;
        devsim::SimDevice porch = Device(devsim::Protocol::Port4022, {2, 0, 0x5e, 0, 2, 3},
                                         {198, 51, 100, 30}, "Porch", 8000);
        porch.wsd.enabled = true;
        porch.answersDeviceProtocol = false;
        m_Lan1 = StartSimulator(1, {lobby});
        m_Lan2 = StartSimulator(2, {Device(devsim::Protocol::Port4022, {2, 0, 0x5e, 0, 2, 1},
                                           {198, 51, 100, 10}, "Yard", 81),
                                    porch});
        m_Driver = std::make_unique<DialogDriver>(RealLibraryApi(), MakeNetworkWsdScan());
        QList<QStringList> rows = m_Driver->Rows();
        std::sort(rows.begin(), rows.end());
        QCOMPARE(rows, (QList<QStringList>{{"Lobby", "192.000.002.010"},
                                           {"Porch [WS-Discovery]", "198.051.100.030"},
                                           {"Yard", "198.051.100.010"}}));
        UrlCatcher urls;
        m_Driver->DoubleClickRow(m_Driver->RowNamed(QStringLiteral("Porch [WS-Discovery]")));
        QCOMPARE(urls.opened, (QList<QUrl>{QUrl(QStringLiteral("http://198.51.100.30:8000/"))}));
    }

    // A camera on its factory address, on no subnet of the host, answers both searches: one
    // row, exported with both protocols and its endpoint.
    void aFactoryCameraOffTheSubnetIsOneRowExportedWhole() {
        m_Driver.reset();
        m_Lan1.reset();
        m_Lan2.reset();
        devsim::SimDevice factory = Device(devsim::Protocol::Port4022, {2, 0, 0x5e, 0, 1, 9},
                                           {192, 168, 0, 100}, "Factory cam", 80);
        factory.wsd.enabled = true;
        m_Lan1 = StartSimulator(1, {factory});
        m_Driver = std::make_unique<DialogDriver>(RealLibraryApi(), MakeNetworkWsdScan());
        QCOMPARE(m_Driver->Rows(), (QList<QStringList>{{"Factory cam", "192.168.000.100"}}));

        const TempDirectory folder;
        const QString target = QString::fromStdString((folder.Path() / "devices.json").string());
        m_Driver->Dialog().SetSaveFileChooser(
            [&](QWidget*, const QString&, const QStringList& filters, QString& chosen) {
                chosen = filters.at(1);
                return target;
            });
        m_Driver->Dialog().findChild<QAction*>(QStringLiteral("exportAction"))->trigger();
        std::ifstream in(folder.Path() / "devices.json");
        const nlohmann::json devices = nlohmann::json::parse(in).at("devices");
        QCOMPARE(devices.size(), std::size_t{1});
        QCOMPARE(devices[0].at("protocols").get<std::string>(), std::string("4022,3702"));
        QVERIFY(devices[0].at("endpoint").is_string());
    }

    // A camera of WS-Discovery alone with a device service: read with its credentials, its
    // address changed through a reboot, and the row found there again.
    void aCameraIsReadAndChangedThroughItsDeviceService() {
        m_Driver.reset();
        m_Lan1.reset();
        m_Lan2.reset();
        // A name longer than a typed one may be: left as read, it holds up no change.
        devsim::SimDevice door = Device(devsim::Protocol::Port32970, {2, 0, 0x5e, 0, 1, 7},
                                        {192, 0, 2, 30}, "Front door, loading bay", 80);
        door.answersDeviceProtocol = false;
        door.wsd.enabled = true;
        door.service.enabled = true;
        door.service.rebootNeeded = true;
        door.service.rebootPause = std::chrono::milliseconds(500);
        door.password = "door-2026";
        m_Lan1 = StartSimulator(1, {door});
        m_Driver = std::make_unique<DialogDriver>(RealLibraryApi(), MakeNetworkWsdScan());
        m_Driver->ClickRow(
            m_Driver->RowNamed(QStringLiteral("Front door, loading bay [WS-Discovery]")));
        QVERIFY(!m_Driver->Find<QLineEdit>("nameField")->isEnabled());

        MessageCatcher messages;
        m_Driver->Find<QLineEdit>("userNameField")->setText(QStringLiteral("admin"));
        m_Driver->Find<QLineEdit>("passwordField")->setText(QStringLiteral("wrong"));
        m_Driver->Find<QPushButton>("readButton")->click();
        QVERIFY(m_Driver->WaitForSearch());
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY2(messages.texts[0].startsWith(
                     "The camera could not be read: the camera refused the user "
                     "name and password (HTTP Digest"),
                 qPrintable(messages.texts[0]));
        messages.texts.clear();
        QVERIFY(!m_Driver->Find<QLineEdit>("nameField")->isEnabled());

        m_Driver->Find<QLineEdit>("passwordField")->setText(QStringLiteral("door-2026"));
        m_Driver->Find<QPushButton>("readButton")->click();
        QVERIFY(m_Driver->WaitForSearch());
        QVERIFY(m_Driver->Find<QLineEdit>("nameField")->isEnabled());
        QCOMPARE(m_Driver->Find<QLineEdit>("macField")->text(),
                 QStringLiteral("02:00:5E:00:01:07"));
        QCOMPARE(m_Driver->Find<Ipv4AddressField>("netmaskField")->Address(),
                 (Ipv4Octets{255, 255, 255, 0}));

        // The progress line's texts as they change.
        QStringList progress;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            const QString text = m_Driver->Find<QLabel>("cameraProgress")->text();
            if (progress.isEmpty() || progress.last() != text) {
                progress << text;
            }
        });
        poll.start(5);
        m_Driver->Find<Ipv4AddressField>("ipField")->SetAddress({192, 0, 2, 31});
        m_Driver->Find<QPushButton>("submitButton")->click();
        QVERIFY(m_Driver->WaitForSearch(60000));
        QVERIFY2(progress.contains("The camera restarts to take its new address..."),
                 qPrintable(progress.join(" | ")));
        QCOMPARE(messages.texts, QStringList{QStringLiteral("The camera shows the new settings.")});
        QCOMPARE(m_Lan1->Device(0).ip, (devsim::Ipv4{192, 0, 2, 31}));
        const int row =
            m_Driver->RowNamed(QStringLiteral("Front door, loading bay [WS-Discovery]"));
        QCOMPARE(m_Driver->Rows()[row][1], QStringLiteral("192.000.002.031"));
        // The credentials that logged in wait in the fields for the next read.
        QCOMPARE(m_Driver->Find<QLineEdit>("passwordField")->text(), QStringLiteral("door-2026"));
    }

    // A mixed site in one batch: both device protocols and three cameras of the device service,
    // one of which takes its new address only at a reboot, one keeps its settings, and one
    // has another password and is left out, refused.
    void assignTakesCamerasReadWithTheTypedCredentials() {
        m_Driver.reset();
        m_Lan1.reset();
        m_Lan2.reset();
        devsim::SimDevice gate = Device(devsim::Protocol::Port32970, {2, 0, 0x5e, 0, 1, 2},
                                        {192, 0, 2, 11}, "Gate", 8080);
        gate.password = "site-pass";
        devsim::SimDevice porch =
            ServiceCamera({2, 0, 0x5e, 0, 1, 3}, {192, 0, 2, 31}, "Porch", "site-pass");
        porch.service.rebootNeeded = true;
        devsim::SimDevice stubborn =
            ServiceCamera({2, 0, 0x5e, 0, 1, 4}, {192, 0, 2, 32}, "Stubborn", "site-pass");
        stubborn.service.changes = devsim::ServiceChanges::Ignore;
        m_Lan1 = StartSimulator(
            1, {Device(devsim::Protocol::Port4022, {2, 0, 0x5e, 0, 1, 1}, {192, 0, 2, 10}, "Lobby",
                       80),
                gate, porch, stubborn,
                ServiceCamera({2, 0, 0x5e, 0, 1, 5}, {192, 0, 2, 33}, "Locked", "other-pass")});
        m_Driver = std::make_unique<DialogDriver>(RealLibraryApi(), MakeNetworkWsdScan());
        // The camera that keeps its settings is looked for at its new address this long.
        m_Driver->Dialog().Controller().SetVerifyWait(std::chrono::seconds(20));
        QCOMPARE(m_Driver->Rows().size(), 5);

        m_Driver->Dialog().findChild<QAction*>(QStringLiteral("assignAction"))->trigger();
        auto* dialog = m_Driver->Dialog().findChild<AssignDlg*>();
        QVERIFY(dialog != nullptr);
        auto* choice = In<QComboBox>(dialog, "deviceChoice");
        choice->setCurrentIndex(choice->findData(static_cast<int>(AssignChoice::All)));
        In<Ipv4AddressField>(dialog, "netmaskField")->SetAddress({255, 255, 255, 0});
        In<Ipv4AddressField>(dialog, "firstField")->SetAddress({192, 0, 2, 50});
        auto* table = In<QTableWidget>(dialog, "assignTable");
        auto* read = In<QPushButton>(dialog, "readCamerasButton");
        auto* close = In<QPushButton>(dialog, "closeButton");
        // Before the read only the devices of the device protocols are planned.
        QCOMPARE(table->rowCount(), 2);
        QVERIFY(read->isVisible());
        In<QLineEdit>(dialog, "userNameField")->setText(QStringLiteral("admin"));
        In<QLineEdit>(dialog, "passwordField")->setText(QStringLiteral("site-pass"));
        read->click();
        QVERIFY(!close->isEnabled());
        QVERIFY(QTest::qWaitFor([close] { return close->isEnabled(); }, 30000));
        const QString message = In<QLabel>(dialog, "messageLabel")->text();
        QVERIFY2(message.contains(QStringLiteral("Locked (192.0.2.33): the camera refused")),
                 qPrintable(message));
        const auto cell = [table](int row, int column) {
            const QTableWidgetItem* item = table->item(row, column);
            return item != nullptr ? item->text() : QString();
        };
        // In MAC order once read, the camera not read last, named by its address alone.
        const QStringList macs{"02:00:5E:00:01:01", "02:00:5E:00:01:02", "02:00:5E:00:01:03",
                               "02:00:5E:00:01:04", ""};
        QCOMPARE(table->rowCount(), 5);
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(cell(row, 0), macs[row]);
        }
        QCOMPARE(cell(2, 3), QStringLiteral("192.0.2.52"));
        QCOMPARE(cell(4, 2), QStringLiteral("192.0.2.33"));

        In<QPushButton>(dialog, "applyButton")->click();
        QVERIFY(QTest::qWaitFor([close] { return close->isEnabled(); }, 100000));
        const QStringList results{"changed", "changed", "changed", "kept", "refused"};
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(cell(row, 9), results[row]);
        }
        QCOMPARE(cell(2, 10), QStringLiteral("192.0.2.52"));
        const std::vector<devsim::SimDevice> final = m_Lan1->Devices();
        const std::vector<devsim::Ipv4> addresses{
            {192, 0, 2, 50}, {192, 0, 2, 51}, {192, 0, 2, 52}, {192, 0, 2, 32}, {192, 0, 2, 33}};
        QCOMPARE(final.size(), addresses.size());
        for (std::size_t i = 0; i < final.size(); ++i) {
            QCOMPARE(final[i].ip, addresses[i]);
        }
        close->click();
    }

    void doubleClickAsksTheDesktopToOpenTheDevicePage() {
        UrlCatcher catcher;
        m_Driver->DoubleClickRow(m_Driver->RowNamed(QStringLiteral("Gate")));
        QCOMPARE(catcher.opened, QList<QUrl>{QUrl(QStringLiteral("http://192.0.2.11:8080"))});
    }
};

} // namespace kestrun::test

int main(int argc, char** argv) {
    std::string why;
    if (!vanmoor::test::InsideTestNetwork(why)) {
        std::fprintf(stderr, "Refusing to run outside the private test network (%s).\n",
                     why.c_str());
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    kestrun::test::NetworkWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "NetworkWindowTest.moc"

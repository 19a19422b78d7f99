// The main window against a fake library: start-up state, the search on its worker thread,
// closing, the about box, the list export, the interface message box, the radio buttons,
// selecting several rows and the double click.
#include "DialogDriver.h"
#include "FakeLibrary.h"
#include "Ipv4AddressField.h"
#include "LogCapture.h"
#include "TempDirectory.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <thread>

namespace kestrun::test {

class DialogWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakeLibrary> m_Fake;
    std::unique_ptr<DialogDriver> m_Driver;

    template <typename Widget> Widget* Find(const char* name) const {
        return m_Driver->Find<Widget>(name);
    }

    void Open() { m_Driver = std::make_unique<DialogDriver>(m_Fake->Api()); }

    // Presses the search button with a library whose search waits until the promise is kept.
    std::promise<void> StartHeldSearch() {
        std::promise<void> release;
        m_Fake->duringSearch = [released = release.get_future().share()] { released.wait(); };
        Find<QPushButton>("searchButton")->click();
        return release;
    }

    int DeinitCalls() const {
        return static_cast<int>(std::count(m_Fake->calls.begin(), m_Fake->calls.end(), "deinit()"));
    }

private slots:
    void init() {
        m_Fake = std::make_unique<FakeLibrary>();
        m_Fake->localAddresses = {"192.0.2.1", "198.51.100.1"};
        FakeDevice plain;
        plain.name = "Lobby";
        plain.ip = {192, 0, 2, 20};
        plain.mac = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
        plain.port = 80;
        FakeDevice secured = plain;
        secured.name = "Gate";
        secured.ip = {198, 51, 100, 7};
        secured.mac = {0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f};
        secured.dhcp = true;
        secured.protocol = 1;
        m_Fake->devices = {plain, secured};
    }

    void cleanup() {
        m_Driver.reset();
        m_Fake.reset();
    }

    void startsWithTemplateTextsHiddenControlsAndOneSearch() {
        Open();
        QCOMPARE(m_Fake->calls, (std::vector<std::string>{"init()", "setIPSearch(0,)",
                                                          "setIPSearch(0,)", "search(1500)"}));
        QCOMPARE(Find<QPushButton>("searchButton")->text(), QStringLiteral("Search IPCam"));
        QCOMPARE(Find<QLabel>("deviceListsLabel")->text(), QStringLiteral("Device lists:"));
        for (const char* hidden : {"staticRadio", "dhcpRadio", "userNameField", "passwordField",
                                   "userNameLabel", "passwordLabel", "progressLabel"}) {
            QVERIFY2(!Find<QWidget>(hidden)->isVisible(), hidden);
        }
        QVERIFY(Find<QLineEdit>("portField")->text().isEmpty());
        auto* interfaces = Find<QComboBox>("interfaceChoice");
        QCOMPARE(interfaces->count(), 3);
        QCOMPARE(interfaces->itemText(0), QStringLiteral("Select All"));
        QCOMPARE(interfaces->itemText(2), QStringLiteral("198.51.100.1"));
        QCOMPARE(interfaces->currentIndex(), -1);

        auto* list = Find<QTreeWidget>("deviceList");
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(1)->text(2), QStringLiteral("198.051.100.007"));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("Server Name"));
        const int width = list->width();
        QCOMPARE(list->header()->sectionSize(0), 0);
        QCOMPARE(list->header()->sectionSize(1), width / 2 + 22);
        QCOMPARE(list->header()->sectionSize(2), width / 2 - 28);
    }

    void languageFileInTheWorkingDirectoryReplacesTexts() {
        const TempDirectory directory;
        directory.WriteFile("Language.ini", "[LANGUAGE]\nSearch_Device=Suchen\nServer_Name=Name\n");
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(directory.Path());
        Open();
        std::filesystem::current_path(previous);
        QCOMPARE(Find<QPushButton>("searchButton")->text(), QStringLiteral("Suchen"));
        QCOMPARE(Find<QLabel>("deviceListsLabel")->text(), QStringLiteral("Device Lists"));
        QCOMPARE(Find<QTreeWidget>("deviceList")->headerItem()->text(1), QStringLiteral("Name"));
    }

    void whileSearchingTheButtonsAndListAreUnusableAndTheWindowStaysLive() {
        Open();
        std::promise<void> release = StartHeldSearch();
        QVERIFY(!Find<QPushButton>("searchButton")->isEnabled());
        QVERIFY(!Find<QPushButton>("submitButton")->isEnabled());
        QVERIFY(!Find<QTreeWidget>("deviceList")->isEnabled());
        QVERIFY(Find<QLabel>("progressLabel")->isVisible());
        QCOMPARE(Find<QLabel>("progressLabel")->text(), QStringLiteral("Searching....."));
        // The event loop runs while the library waits.
        QTest::qWait(50);
        QVERIFY(Find<QLabel>("progressLabel")->isVisible());

        release.set_value();
        QVERIFY(m_Driver->WaitForSearch());
        QVERIFY(Find<QTreeWidget>("deviceList")->isEnabled());
        QVERIFY(!Find<QLabel>("progressLabel")->isVisible());
        // The search emptied the fields: nothing to submit until a row is clicked.
        QVERIFY(!Find<QPushButton>("submitButton")->isEnabled());
        m_Driver->ClickRow(0);
        QVERIFY(Find<QPushButton>("submitButton")->isEnabled());
        QVERIFY(m_Driver->Search());
        QVERIFY(!Find<QPushButton>("submitButton")->isEnabled());
    }

    void exitEscapeAndCloseBoxEachDeinitOnceAndLog() {
        const std::function<void(CIpEditDlg&)> ways[] = {
            [this](CIpEditDlg&) { Find<QPushButton>("exitButton")->click(); },
            [](CIpEditDlg& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
            [](CIpEditDlg& dialog) { dialog.close(); },
        };
        for (const auto& close : ways) {
            LogCapture log;
            Open();
            close(m_Driver->Dialog());
            QVERIFY(!m_Driver->Dialog().isVisible());
            m_Driver->Dialog().close();
            QCOMPARE(DeinitCalls(), 1);
            QCOMPARE(m_Fake->calls.back(), std::string("deinit()"));
            m_Driver.reset();
            QCOMPARE(log.ProgramText(), std::string("CIpEditDlg::OnCancel() begin\n"
                                                    "CIpEditDlg::OnCancel() end\n"
                                                    "CIpEditDlg::~CIpEditDlg() begin\n"
                                                    "CIpEditDlg::~CIpEditDlg() end\n"));
            m_Fake->calls.clear();
        }
    }

    void closingDuringASearchWaitsForItBeforeDeinit() {
        Open();
        std::promise<void> release = StartHeldSearch();
        std::thread releaser([&release] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            release.set_value();
        });
        m_Driver->Dialog().close();
        releaser.join();
        QCOMPARE(m_Fake->calls.back(), std::string("deinit()"));
        QCOMPARE(m_Fake->calls[m_Fake->calls.size() - 2], std::string("search(1500)"));
        QCOMPARE(DeinitCalls(), 1);
    }

    void contextMenuEntryOpensTheAboutBox() {
        Open();
        auto* about = m_Driver->Dialog().findChild<QAction*>(QStringLiteral("aboutAction"));
        QVERIFY(about);
        QCOMPARE(about->text(), QStringLiteral("About Kestrun(&A)..."));
        QString caption;
        QTimer::singleShot(0, [&caption] {
            QWidget* box = QApplication::activeModalWidget();
            caption = box->windowTitle();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        about->trigger();
        QCOMPARE(caption, QStringLiteral("About Kestrun"));
    }

    void exportEntryWritesTheListAsShownAndAFailedWriteLeavesNoFile() {
        Open();
        m_Driver->ClickHeading(2);
        QCOMPARE(m_Driver->Rows()[0][0], QStringLiteral("Gate")); // no longer the library's order
        auto* exportAction = m_Driver->Dialog().findChild<QAction*>(QStringLiteral("exportAction"));
        QVERIFY(exportAction);
        QCOMPARE(exportAction->text(), QStringLiteral("Export list..."));
        const TempDirectory folder;
        QString target = QString::fromStdString((folder.Path() / "devices.json").string());
        QStringList offered;
        m_Driver->Dialog().SetSaveFileChooser(
            [&](QWidget*, const QString&, const QStringList& filters, QString& chosen) {
                offered = filters;
                chosen = filters.at(0);
                return target;
            });
        exportAction->trigger();
        QCOMPARE(offered,
                 (QStringList{QStringLiteral("CSV (*.csv)"), QStringLiteral("JSON (*.json)")}));
        std::ifstream in(folder.Path() / "devices.json");
        const nlohmann::json devices = nlohmann::json::parse(in).at("devices");
        QCOMPARE(devices.size(), std::size_t{2});
        for (int row = 0; row < 2; ++row) {
            QCOMPARE(QString::fromStdString(devices[static_cast<std::size_t>(row)].at("name")),
                     m_Driver->Rows()[row][0]);
        }

        target = QString::fromStdString((folder.Path() / "missing" / "devices.csv").string());
        QString message;
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                message = box->text();
                format = box->textFormat();
                box->accept();
            }
        });
        exportAction->trigger();
        QVERIFY2(message.startsWith(QStringLiteral("The list could not be written to ") + target),
                 qPrintable(message));
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
    }

    void aVanishedInterfaceShowsTheMessageAndSearchesNothing() {
        Open();
        Find<QComboBox>("interfaceChoice")->setCurrentIndex(1);
        m_Fake->addressesAtNextSetIPSearch = std::vector<std::string>{"203.0.113.9"};
        m_Fake->calls.clear();
        QString message;
        QTimer::singleShot(0, [&message] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            message = box->text();
            box->accept();
        });
        Find<QPushButton>("searchButton")->click();
        QCOMPARE(message, QStringLiteral("Please check the network card settings!"));
        QCOMPARE(m_Fake->calls, (std::vector<std::string>{"setIPSearch(1,192.0.2.1)"}));
        auto* interfaces = Find<QComboBox>("interfaceChoice");
        QCOMPARE(interfaces->count(), 2);
        QCOMPARE(interfaces->itemText(1), QStringLiteral("203.0.113.9"));
        QCOMPARE(interfaces->currentIndex(), -1);
        QCOMPARE(Find<QTreeWidget>("deviceList")->topLevelItemCount(), 2);
        QVERIFY(Find<QPushButton>("searchButton")->isEnabled());
    }

    void clickLoadsTheDeviceAndTheRadioButtonsSwitchTheAddressFields() {
        Open();
        m_Driver->ClickRow(1);
        QVERIFY(Find<QRadioButton>("dhcpRadio")->isChecked());
        QVERIFY(!Find<QRadioButton>("staticRadio")->isChecked());
        QVERIFY(!Find<Ipv4AddressField>("ipField")->isEnabled());
        QVERIFY(Find<Ipv4AddressField>("dns1Field")->isEnabled());
        QVERIFY(Find<QLineEdit>("userNameField")->isVisible());
        QCOMPARE(Find<QLineEdit>("macField")->text(), QStringLiteral("0A:0B:0C:0D:0E:0F"));
        QCOMPARE(Find<Ipv4AddressField>("ipField")->Address(), (Ipv4Octets{198, 51, 100, 7}));

        QTest::mouseClick(Find<QRadioButton>("staticRadio"), Qt::LeftButton);
        QVERIFY(Find<QRadioButton>("staticRadio")->isChecked());
        QVERIFY(!Find<QRadioButton>("dhcpRadio")->isChecked());
        QVERIFY(Find<Ipv4AddressField>("gatewayField")->isEnabled());

        m_Driver->ClickRow(0);
        QVERIFY(!Find<QLineEdit>("userNameField")->isVisible());
        QVERIFY(Find<QRadioButton>("staticRadio")->isChecked());
    }

    void rowsWithAnErrorAreMarkedAndTheirToolTipSaysWhyInPlainText() {
        // 192.0.2.1/24 is this host's address in the test network, so its subnet is known here.
        m_Fake->localAddresses = {"192.0.2.1"};
        FakeDevice fine = m_Fake->devices[0];
        fine.ip = {192, 0, 2, 20};
        fine.netmask = {255, 255, 255, 0};
        fine.name = "Fine";
        FakeDevice twin = fine;
        twin.ip = {192, 0, 2, 30};
        twin.name = "<b>Twin</b>";
        twin.mac[5] = 0x56;
        FakeDevice other = twin;
        other.mac[5] = 0x57;
        m_Fake->devices = {fine, twin, other};
        Open();
        auto* list = Find<QTreeWidget>("deviceList");
        const QTreeWidgetItem* fineRow = list->topLevelItem(m_Driver->RowNamed("Fine"));
        const QTreeWidgetItem* twinRow = list->topLevelItem(m_Driver->RowNamed("<b>Twin</b>"));
        QVERIFY(fineRow->toolTip(1).isEmpty());
        QVERIFY(fineRow->icon(1).isNull());
        QVERIFY(!twinRow->icon(1).isNull());
        QVERIFY(twinRow->background(2) != fineRow->background(2));
        const QString tip = twinRow->toolTip(1);
        QVERIFY2(tip.contains("duplicate address: 2 devices answer with 192.0.2.30"),
                 qPrintable(tip));
        // The name came from the network: its markup is escaped, never rendered.
        QVERIFY2(tip.contains("&lt;b&gt;Twin"), qPrintable(tip));
        QVERIFY(!tip.contains("<b>Twin"));
    }

    void severalRowsSelectWhileAClickLoadsOneDeviceAndOnlyALeftDoubleClickOpensThePage() {
        Open();
        auto* list = Find<QTreeWidget>("deviceList");
        m_Driver->ClickRow(0);
        m_Driver->ClickRow(1, Qt::ControlModifier);
        QCOMPARE(list->selectedItems().size(), 2);
        QCOMPARE(Find<QLineEdit>("macField")->text(), QStringLiteral("0A:0B:0C:0D:0E:0F"));
        m_Driver->ClickRow(0);
        QCOMPARE(list->selectedItems().size(), 1);
        QCOMPARE(Find<QLineEdit>("macField")->text(), QStringLiteral("00:11:22:33:44:55"));

        UrlCatcher catcher;
        // Sent straight to the list: a real right press would also open the context menu.
        const QPointF centre = list->visualItemRect(list->topLevelItem(0)).center();
        QMouseEvent rightDouble(QEvent::MouseButtonDblClick, centre,
                                list->viewport()->mapToGlobal(centre), Qt::RightButton,
                                Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &rightDouble);
        QVERIFY(catcher.opened.isEmpty());
        m_Driver->DoubleClickRow(0);
        QCOMPARE(catcher.opened, QList<QUrl>{QUrl(QStringLiteral("http://192.0.2.20:80"))});

        // Below the rows: no device there, so no page, although one is loaded.
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           QPoint(10, list->viewport()->height() - 5));
        QCOMPARE(catcher.opened.size(), 1);
    }

    void aPortNoBrowserCanOpenGetsAMessageInsteadOfSilence() {
        m_Fake->devices[0].port = 70000;
        Open();
        UrlCatcher urls;
        MessageCatcher messages;
        m_Driver->DoubleClickRow(0);
        QVERIFY(urls.opened.isEmpty());
        QCOMPARE(
            messages.texts,
            QStringList{"The device reports web port 70000, which a web browser cannot open."});
    }

    void aSubmitTheDeviceIgnoresSaysSoAndKeepsTheDeviceLoaded() {
        Open();
        // Sorted so that the device's row differs from its place in the library.
        m_Driver->ClickHeading(1);
        const int row = m_Driver->RowNamed(QStringLiteral("Lobby"));
        m_Driver->ClickRow(row);
        Find<QLineEdit>("nameField")->setText(QStringLiteral("Lobby 2"));
        MessageCatcher messages;
        Find<QPushButton>("submitButton")->click();
        QVERIFY(m_Driver->WaitForSearch());
        QCOMPARE(std::string(m_Fake->lastSet->name, 7), std::string("Lobby 2"));
        QCOMPARE(messages.texts, QStringList{"The device still shows its old settings: it did not "
                                             "receive the command. Please try again."});
        QCOMPARE(Find<QLineEdit>("nameField")->text(), QStringLiteral("Lobby"));
        QCOMPARE(Find<QTreeWidget>("deviceList")->currentItem()->text(1), QStringLiteral("Lobby"));
        QVERIFY(Find<QPushButton>("submitButton")->isEnabled());

        // Gone from the next search.
        m_Driver->ClickRow(m_Driver->RowNamed(QStringLiteral("Gate")));
        m_Fake->devices.erase(m_Fake->devices.begin() + 1);
        Find<QPushButton>("submitButton")->click();
        QVERIFY(m_Driver->WaitForSearch());
        QCOMPARE(messages.texts.last(), QStringLiteral("The device no longer answers the search."));
        QVERIFY(!Find<QPushButton>("submitButton")->isEnabled());

        // Not sent at all: said at once, and no search follows.
        m_Driver->ClickRow(0);
        m_Fake->setResult = 0;
        m_Fake->calls.clear();
        Find<QPushButton>("submitButton")->click();
        QCOMPARE(messages.texts.last(),
                 QStringLiteral("The settings could not be sent. The log file tells why."));
        QCOMPARE(std::count(m_Fake->calls.begin(), m_Fake->calls.end(), "search(1500)"), 0);
    }
};

} // namespace kestrun::test

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    kestrun::test::DialogWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DialogWindowTest.moc"

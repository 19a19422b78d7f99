// The main window against a fake library: start-up state, the search on its worker thread,
// closing, the about box, the list export, the interface message box, the radio buttons,
// selecting several rows and the double click.
#include "DialogDriver.h"
#include "FakeLibrary.h"
#include "FakeWsdScan.h"
#include "Ipv4AddressField.h"
#include "LogCapture.h"
#include "TempDirectory.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeView>

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
        plain.netmask = {255, 255, 255, 0};
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

        auto* list = Find<QTreeView>("deviceList");
        QCOMPARE(m_Driver->RowCount(), 2);
        QCOMPARE(m_Driver->Cell(1, 2), QStringLiteral("198.051.100.007"));
        QCOMPARE(list->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Server Name"));
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
        QCOMPARE(Find<QTreeView>("deviceList")->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Name"));
    }

    void theGermanExampleFitsEveryLabelAndButton() {
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(
            std::filesystem::path(VANMOOR_EXAMPLE_LANGUAGE_FILE).parent_path());
        Open();
        std::filesystem::current_path(previous);
        QCOMPARE(Find<QLabel>("userNameLabel")->text(), QStringLiteral("Benutzer"));
        const int indicator =
            m_Driver->Dialog().style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
            m_Driver->Dialog().style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
        for (QWidget* control :
             m_Driver->Dialog().findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            QString text;
            int room = control->width();
            if (auto* label = qobject_cast<QLabel*>(control)) {
                text = label->text();
                const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, room, 10000),
                                                                       Qt::TextWordWrap, text);
                QVERIFY2(needed.height() <= label->height(), qPrintable(text));
            } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
                text = button->text().remove(QLatin1Char('&'));
                room -= qobject_cast<QRadioButton*>(control) != nullptr ? indicator : 8;
            }
            for (const QString& line : text.split(QLatin1Char('\n'))) {
                for (const QString& word : line.split(QLatin1Char(' '))) {
                    QVERIFY2(control->fontMetrics().horizontalAdvance(
                                 qobject_cast<QLabel*>(control) != nullptr ? word : line) <= room,
                             qPrintable(line));
                }
            }
        }
    }

    void whileSearchingTheButtonsAndListAreUnusableAndTheWindowStaysLive() {
        Open();
        std::promise<void> release = StartHeldSearch();
        QVERIFY(!Find<QPushButton>("searchButton")->isEnabled());
        QVERIFY(!Find<QPushButton>("submitButton")->isEnabled());
        QVERIFY(!Find<QTreeView>("deviceList")->isEnabled());
        QVERIFY(Find<QLabel>("progressLabel")->isVisible());
        QCOMPARE(Find<QLabel>("progressLabel")->text(), QStringLiteral("Searching....."));
        // The event loop runs while the library waits.
        QTest::qWait(50);
        QVERIFY(Find<QLabel>("progressLabel")->isVisible());

        release.set_value();
        QVERIFY(m_Driver->WaitForSearch());
        QVERIFY(Find<QTreeView>("deviceList")->isEnabled());
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

    void anExportNamedWithoutAnExtensionGetsTheChosenFormats() {
        Open();
        const TempDirectory folder;
        m_Driver->Dialog().SetSaveFileChooser(
            [&folder](QWidget*, const QString&, const QStringList& filters, QString& chosen) {
                chosen = filters.at(1);
                return QString::fromStdString((folder.Path() / "devices").string());
            });
        m_Driver->Dialog().findChild<QAction*>(QStringLiteral("exportAction"))->trigger();
        QVERIFY(std::filesystem::exists(folder.Path() / "devices.json"));
        QVERIFY(!std::filesystem::exists(folder.Path() / "devices"));
    }

    void theWindowFrameStaysOnTheScreenEvenWhenTheScreenIsLow() {
        // 1366x768 with a panel of 28 pixels at the top.
        const QRect available(0, 28, 1366, 740);
        QCOMPARE(FramePosition(QSize(628, 757), available), QPoint(369, 28));
        QCOMPARE(FramePosition(QSize(628, 700), available), QPoint(369, 48));
        QCOMPARE(FramePosition(QSize(1400, 800), available), QPoint(0, 28));
        Open();
        QVERIFY(m_Driver->Dialog().screen()->availableGeometry().contains(
            m_Driver->Dialog().frameGeometry().topLeft()));
    }

    void anAddressFieldShowsWhenItHasTheFocus() {
        Open();
        auto* field = Find<Ipv4AddressField>("netmaskField");
        const QPoint edge(field->width() / 2, 1);
        QApplication::setActiveWindow(&m_Driver->Dialog());
        QVERIFY(!field->isAncestorOf(QApplication::focusWidget()));
        const QColor unfocused = field->grab().toImage().pixelColor(edge);
        auto* octet = field->findChild<QLineEdit*>(QStringLiteral("octet1"));
        octet->setFocus();
        QVERIFY(QTest::qWaitFor([octet] { return octet->hasFocus(); }));
        const QColor focused = field->grab().toImage().pixelColor(edge);
        QCOMPARE(focused, field->palette().color(QPalette::Highlight));
        QVERIFY(focused != unfocused);
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
        QCOMPARE(m_Driver->RowCount(), 2);
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
        const int fineRow = m_Driver->RowNamed("Fine");
        const int twinRow = m_Driver->RowNamed("<b>Twin</b>");
        QVERIFY(m_Driver->CellData(fineRow, 1, Qt::ToolTipRole).toString().isEmpty());
        QVERIFY(m_Driver->CellData(fineRow, 1, Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(!m_Driver->CellData(twinRow, 1, Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(m_Driver->CellData(twinRow, 2, Qt::BackgroundRole) !=
                m_Driver->CellData(fineRow, 2, Qt::BackgroundRole));
        const QString tip = m_Driver->CellData(twinRow, 1, Qt::ToolTipRole).toString();
        QVERIFY2(tip.contains("duplicate address: 2 devices answer with 192.0.2.30"),
                 qPrintable(tip));
        // The name came from the network: its markup is escaped, never rendered.
        QVERIFY2(tip.contains("&lt;b&gt;Twin"), qPrintable(tip));
        QVERIFY(!tip.contains("<b>Twin"));

        // The marks follow their devices when the rows are sorted.
        m_Driver->ClickHeading(1);
        QVERIFY(m_Driver->CellData(m_Driver->RowNamed("Fine"), 1, Qt::ToolTipRole).isNull());
        QCOMPARE(
            m_Driver->CellData(m_Driver->RowNamed("<b>Twin</b>"), 1, Qt::ToolTipRole).toString(),
            tip);
    }

    void aWsDiscoveryCameraIsMarkedAndShowsWhyItsFieldsAreLocked() {
        auto scan = std::make_unique<FakeWsdScan>();
        vanmoor::site::SiteDevice camera;
        camera.protocol = vanmoor::site::kWsdProtocol;
        camera.name = "Door";
        camera.ip = {192, 0, 2, 40};
        camera.localAddress = "192.0.2.1";
        camera.wsd.emplace().xaddrs = {"http://192.0.2.40/onvif/device_service"};
        scan->devices = {camera};
        m_Driver = std::make_unique<DialogDriver>(m_Fake->Api(), std::move(scan));
        const int row = m_Driver->RowNamed("Door [WS-Discovery]");
        QVERIFY(row >= 0);
        QCOMPARE(m_Driver->Cell(row, 2), QStringLiteral("192.000.002.040"));
        QVERIFY(!Find<QLabel>("wsdNotice")->isVisible());
        m_Driver->ClickRow(row);
        QVERIFY(Find<QLabel>("wsdNotice")->isVisible());
        QCOMPARE(Find<QLabel>("wsdNotice")->text(),
                 QStringLiteral("Settings of this camera change on its own web page."));
        QVERIFY(!Find<QPushButton>("submitButton")->isEnabled());
        QVERIFY(!Find<QLineEdit>("nameField")->isEnabled());
        QCOMPARE(Find<QLineEdit>("nameField")->text(), QStringLiteral("Door"));
        m_Driver->ClickRow(m_Driver->RowNamed("Lobby"));
        QVERIFY(!Find<QLabel>("wsdNotice")->isVisible());
        QVERIFY(Find<QPushButton>("submitButton")->isEnabled());
    }

    void theKeyboardLoadsTheRowItStopsOnAndEnterSubmitsIt() {
        LogCapture log;
        FakeDevice third = m_Fake->devices[0];
        third.name = "Yard";
        third.mac[5] = 0x66;
        m_Fake->devices.push_back(third);
        Open();
        auto* list = Find<QTreeView>("deviceList");
        m_Driver->ClickRow(0);
        // Down held: one press, a repeated release and press, then the key is let go.
        for (const auto& [type, repeated] :
             {std::pair{QEvent::KeyPress, false}, std::pair{QEvent::KeyRelease, true},
              std::pair{QEvent::KeyPress, true}, std::pair{QEvent::KeyRelease, false}}) {
            QKeyEvent key(type, Qt::Key_Down, Qt::NoModifier, QString(), repeated);
            QApplication::sendEvent(list, &key);
        }
        QCOMPARE(m_Driver->CurrentRow(), 2);
        QCOMPARE(Find<QLineEdit>("macField")->text(), QStringLiteral("00:11:22:33:44:66"));
        const std::string text = log.ProgramText();
        QVERIFY2(text.find("OnClickDevList : 3\n") != std::string::npos, text.c_str());
        QVERIFY2(text.find("OnClickDevList : 2\n") == std::string::npos, text.c_str());

        MessageCatcher messages;
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(m_Driver->WaitForSearch());
        QCOMPARE(std::count(m_Fake->calls.begin(), m_Fake->calls.end(), "set()"), 1);
        QCOMPARE(int{m_Fake->lastSet->MAC[5]}, 0x66);
    }

    // Tab from the list through every control once, in the order of the layout; on the way a
    // DHCP device is switched to a static address and edited, and Enter in a field sends it.
    void theKeyboardAloneWalksTheWholeEditInTheOrderOfTheLayout() {
        m_Fake->devices[1].netmask = {255, 255, 255, 0};
        Open();
        CIpEditDlg& dialog = m_Driver->Dialog();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // The name of the control that has the focus; an address field's boxes count as it.
        const auto focused = [] {
            QWidget* widget = QApplication::focusWidget();
            if (widget != nullptr && qobject_cast<Ipv4AddressField*>(widget->parentWidget())) {
                widget = widget->parentWidget();
            }
            return widget != nullptr ? widget->objectName() : QString();
        };
        const auto press = [&dialog](Qt::Key key) {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus != nullptr ? focus : &dialog, key);
        };
        // Where the focus starts depends on whether the list was usable yet when the window
        // became active.
        for (int tab = 0; tab < 40 && focused() != QStringLiteral("deviceList"); ++tab) {
            press(Qt::Key_Tab);
        }
        QCOMPARE(focused(), QStringLiteral("deviceList"));
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        QCOMPARE(Find<QLineEdit>("macField")->text(), QStringLiteral("0A:0B:0C:0D:0E:0F"));
        QVERIFY(Find<QRadioButton>("dhcpRadio")->isChecked());

        QStringList order;
        do {
            press(Qt::Key_Tab);
            order << focused();
            if (order.last() == QStringLiteral("staticRadio")) {
                press(Qt::Key_Space);
            } else if (order.last() == QStringLiteral("nameField")) {
                QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Yard"));
            } else if (order.last() == QStringLiteral("portField")) {
                QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("8080"));
            } else if (order.last() == QStringLiteral("userNameField")) {
                QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("admin"));
            } else if (order.count(QStringLiteral("ipField")) == 4 &&
                       order.last() == QStringLiteral("ipField")) {
                QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("9"));
            }
        } while (order.last() != QStringLiteral("deviceList") && order.size() < 60);
        const QStringList fourBoxes[] = {
            {"ipField", "ipField", "ipField", "ipField"},
            {"netmaskField", "netmaskField", "netmaskField", "netmaskField"},
            {"gatewayField", "gatewayField", "gatewayField", "gatewayField"},
            {"dns1Field", "dns1Field", "dns1Field", "dns1Field"},
            {"dns2Field", "dns2Field", "dns2Field", "dns2Field"}};
        QStringList expected{"interfaceChoice", "staticRadio", "dhcpRadio", "nameField"};
        for (const QStringList& boxes : fourBoxes) {
            expected << boxes;
        }
        expected << QStringList{"portField",    "macField",     "userNameField", "passwordField",
                                "submitButton", "searchButton", "exitButton",    "deviceList"};
        QCOMPARE(order, expected);
        QVERIFY(Find<QRadioButton>("staticRadio")->isChecked());
        QVERIFY(!Find<QRadioButton>("dhcpRadio")->isChecked());

        for (int tab = 0; tab < 4; ++tab) {
            press(Qt::Key_Tab);
        }
        QCOMPARE(focused(), QStringLiteral("nameField"));
        MessageCatcher messages;
        press(Qt::Key_Return);
        QVERIFY(m_Driver->WaitForSearch());
        QVERIFY(m_Fake->lastSetMd5);
        QCOMPARE(std::string(m_Fake->lastSetMd5->name, 4), std::string("Yard"));
        QCOMPARE(int{m_Fake->lastSetMd5->IP[3]}, 9);
        QCOMPARE(m_Fake->lastSetMd5->port, 8080);
        QCOMPARE(int{m_Fake->lastSetMd5->DHCP}, 0);
    }

    void aSortKeepsTheSelectionAndTheFocusMarkOnTheirDevices() {
        FakeDevice third = m_Fake->devices[0];
        third.name = "Yard";
        third.mac[5] = 0x66;
        m_Fake->devices.push_back(third);
        Open();
        m_Driver->ClickRow(m_Driver->RowNamed("Lobby"));
        m_Driver->ClickRow(m_Driver->RowNamed("Yard"), Qt::ControlModifier);
        m_Driver->ClickHeading(1);
        QCOMPARE(m_Driver->Rows()[0][0], QStringLiteral("Yard"));
        QItemSelectionModel* selection = Find<QTreeView>("deviceList")->selectionModel();
        QVERIFY(selection->isRowSelected(m_Driver->RowNamed("Lobby")));
        QVERIFY(selection->isRowSelected(m_Driver->RowNamed("Yard")));
        QVERIFY(!selection->isRowSelected(m_Driver->RowNamed("Gate")));
        QCOMPARE(m_Driver->CurrentRow(), m_Driver->RowNamed("Yard"));
        QCOMPARE(Find<QLineEdit>("macField")->text(), QStringLiteral("00:11:22:33:44:66"));
    }

    void aRightClickLoadsTheRowItOpensTheMenuFor() {
        Open();
        m_Driver->ClickRow(0);
        auto* list = Find<QTreeView>("deviceList");
        // Press and release only: a real right press would also open the context menu.
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, m_Driver->RowCentre(1));
        QCOMPARE(m_Driver->CurrentRow(), 1);
        QCOMPARE(m_Driver->SelectedRowCount(), 1);
        QCOMPARE(Find<QLineEdit>("macField")->text(), QStringLiteral("0A:0B:0C:0D:0E:0F"));

        // Within a selection of several, the selection stays for the menu's entries.
        m_Driver->ClickRow(0, Qt::ControlModifier);
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, m_Driver->RowCentre(1));
        QCOMPARE(m_Driver->SelectedRowCount(), 2);
        QCOMPARE(m_Driver->CurrentRow(), 1);
        QCOMPARE(Find<QLineEdit>("macField")->text(), QStringLiteral("0A:0B:0C:0D:0E:0F"));
    }

    void severalRowsSelectWhileAClickLoadsOneDeviceAndOnlyALeftDoubleClickOpensThePage() {
        Open();
        auto* list = Find<QTreeView>("deviceList");
        m_Driver->ClickRow(0);
        m_Driver->ClickRow(1, Qt::ControlModifier);
        QCOMPARE(m_Driver->SelectedRowCount(), 2);
        QCOMPARE(Find<QLineEdit>("macField")->text(), QStringLiteral("0A:0B:0C:0D:0E:0F"));
        m_Driver->ClickRow(0);
        QCOMPARE(m_Driver->SelectedRowCount(), 1);
        QCOMPARE(Find<QLineEdit>("macField")->text(), QStringLiteral("00:11:22:33:44:55"));

        UrlCatcher catcher;
        // Sent straight to the list: a real right press would also open the context menu.
        const QPointF centre = m_Driver->RowCentre(0);
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

    // A gateway typed as "192.0.2." is said to be unfinished, not sent as 192.0.2.0.
    void aPartlyFilledAddressIsShownAsAnErrorAndNothingIsSent() {
        Open();
        m_Driver->ClickRow(m_Driver->RowNamed(QStringLiteral("Lobby")));
        auto* gateway = Find<Ipv4AddressField>("gatewayField");
        const QStringList typed{"192", "0", "2", ""};
        for (int i = 0; i < 4; ++i) {
            gateway->findChild<QLineEdit*>(QStringLiteral("octet%1").arg(i + 1))->setText(typed[i]);
        }
        MessageCatcher messages;
        Find<QPushButton>("submitButton")->click();
        QCOMPARE(messages.texts, QStringList{"Please enter all four numbers of the address, or "
                                             "leave the field empty."});
        QVERIFY(!m_Fake->lastSet);
        // The focus goes to the blank number once the message is closed.
        QCOMPARE(m_Driver->Dialog().focusWidget(),
                 gateway->findChild<QLineEdit*>(QStringLiteral("octet4")));
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
        QCOMPARE(m_Driver->Cell(m_Driver->CurrentRow(), 1), QStringLiteral("Lobby"));
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

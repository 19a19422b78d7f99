#include "IpEditDlg.h"

#include "AboutInfoDlg.h"
#include "ApplicationIcon.h"
#include "AssignDlg.h"
#include "DeviceListModel.h"
#include "DialogTemplate.h"
#include "DialogUnits.h"
#include "Ipv4AddressField.h"
#include "LibraryDevices.h"
#include "ProgramLog.h"
#include "SearchWorker.h"
#include "SubmitCheck.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeView>
#include <QUrl>

#include <algorithm>

namespace kestrun {

namespace {

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowCloseButtonHint;

QLineEdit* CenteredEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

} // namespace

CIpEditDlg::CIpEditDlg(const LibraryApi& api, QWidget* parent)
    : QDialog(parent, kWindowFlags), m_Api(api), m_Search(m_Api, m_Texts, m_Choice, m_Devices),
      m_LanguageLoader(std::make_unique<LanguageLoader>(m_Texts, m_ExtraTexts,
                                                        static_cast<ControlTextSink&>(*this))),
      m_Editor(std::make_unique<DeviceEditor>(m_Api)) {
    setWindowTitle(QString::fromLatin1(kMainDialogCaption));
    setWindowIcon(ApplicationIcon());
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.X(kMainDialogWidth), units.Y(kMainDialogHeight));
    PlaceOnScreen(*this);
    for (const ControlTemplate& control : kMainDialogControls) {
        QWidget* widget = CreateControl(control);
        widget->setObjectName(QString::fromLatin1(control.objectName));
        widget->setGeometry(units.ToPixels(control.x, control.y, control.width, control.height));
        m_Controls[control.id] = widget;
    }
    m_AboutAction = new QAction(QStringLiteral("About Kestrun(&A)..."), this);
    m_AboutAction->setObjectName(QStringLiteral("aboutAction"));
    m_AssignAction = new QAction(this);
    m_AssignAction->setObjectName(QStringLiteral("assignAction"));
    m_ExportAction = new QAction(this);
    m_ExportAction->setObjectName(QStringLiteral("exportAction"));
    ConnectControls();

    m_Worker = std::make_unique<SearchWorker>([this] { return m_Search.RunSearch(); });
    m_Worker->moveToThread(&m_SearchThread);
    connect(this, &CIpEditDlg::SearchRequested, m_Worker.get(), &SearchWorker::Run);
    connect(m_Worker.get(), &SearchWorker::Finished, this, &CIpEditDlg::OnSearchFinished);
    m_SearchThread.start();

    ProgramLog().ReadLogConfig();
}

CIpEditDlg::~CIpEditDlg() {
    ProgramLog().WriteLog("CIpEditDlg::~CIpEditDlg() begin\n");
    m_SearchThread.quit();
    m_SearchThread.wait();
    DropAssignDialog();
    // The list's model reads rows that go before the widgets do.
    Control<QTreeView>(ControlId::DeviceList)->setModel(nullptr);
    ProgramLog().WriteLog("CIpEditDlg::~CIpEditDlg() end\n");
}

QWidget* CIpEditDlg::CreateControl(const ControlTemplate& control) {
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
    case ControlKind::AddressField:
        return new Ipv4AddressField(this);
    case ControlKind::Button:
        return new QPushButton(text, this);
    case ControlKind::DefaultButton: {
        auto* button = new QPushButton(text, this);
        button->setDefault(true);
        return button;
    }
    case ControlKind::DropDown:
        return new QComboBox(this);
    case ControlKind::Edit:
        return CenteredEdit(this);
    case ControlKind::DigitsEdit: {
        QLineEdit* edit = CenteredEdit(this);
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        return edit;
    }
    case ControlKind::ReadOnlyEdit: {
        QLineEdit* edit = CenteredEdit(this);
        edit->setReadOnly(true);
        return edit;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        return label;
    }
    case ControlKind::List: {
        auto* list = new QTreeView(this);
        m_ListModel = new DeviceListModel(
            m_Devices, m_Texts, style()->standardIcon(QStyle::SP_MessageBoxWarning), list);
        list->setModel(m_ListModel);
        list->setRootIsDecorated(false);
        list->setItemsExpandable(false);
        // Every row is one line high: the view need not measure 100,000 rows to lay them out.
        list->setUniformRowHeights(true);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        // Several rows may be selected (Ctrl/Shift-click); the click itself loads one device.
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setSortingEnabled(false);
        list->header()->setSectionsClickable(true);
        list->header()->setStretchLastSection(false);
        list->header()->setMinimumSectionSize(0);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
        return list;
    }
    case ControlKind::Radio: {
        auto* radio = new QRadioButton(text, this);
        // Each button is a group of its own: the handlers set both check marks.
        radio->setAutoExclusive(false);
        radio->setFocusPolicy(Qt::ClickFocus);
        return radio;
    }
    }
    return nullptr;
}

template <typename Widget> Widget* CIpEditDlg::Control(ControlId id) const {
    return qobject_cast<Widget*>(m_Controls.at(id));
}

void CIpEditDlg::ConnectControls() {
    connect(Control<QPushButton>(ControlId::SearchButton), &QPushButton::clicked, this,
            &CIpEditDlg::OnSearch);
    connect(Control<QPushButton>(ControlId::SubmitButton), &QPushButton::clicked, this,
            &CIpEditDlg::OnSubmit);
    connect(Control<QPushButton>(ControlId::Exit), &QPushButton::clicked, this,
            &CIpEditDlg::reject);
    connect(Control<QRadioButton>(ControlId::StaticRadio), &QRadioButton::clicked, this,
            &CIpEditDlg::OnRadioStatic);
    connect(Control<QRadioButton>(ControlId::DhcpRadio), &QRadioButton::clicked, this,
            &CIpEditDlg::OnRadioDHCP);
    auto* list = Control<QTreeView>(ControlId::DeviceList);
    connect(list, &QTreeView::clicked, this,
            [this](const QModelIndex& index) { OnClickDevList(index.row()); });
    connect(list->header(), &QHeaderView::sectionClicked, this, &CIpEditDlg::OnColumnClickDevList);
    connect(m_AboutAction, &QAction::triggered, this, &CIpEditDlg::ShowAboutBox);
    connect(m_AssignAction, &QAction::triggered, this, &CIpEditDlg::OpenAssignDialog);
    connect(m_ExportAction, &QAction::triggered, this, &CIpEditDlg::OnExportList);
}

void CIpEditDlg::SetControlText(ControlId control, const std::u16string& text) {
    const QString qtext = QString::fromStdU16String(text);
    QWidget* widget = m_Controls.at(control);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(qtext);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(qtext);
    }
}

void CIpEditDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_Initialised) {
        m_Initialised = true;
        OnInitDialog();
    }
}

void CIpEditDlg::OnInitDialog() {
    m_LanguageLoader->Apply();
    m_ExportAction->setText(QString::fromStdU16String(m_ExtraTexts.Text(ExtraText::ExportList)));
    SetControlText(ControlId::UserNameLabel, m_ExtraTexts.Text(ExtraText::UserNameLabel));
    SetControlText(ControlId::PasswordLabel, m_ExtraTexts.Text(ExtraText::AssignPassword));
    Control<QLineEdit>(ControlId::PortField)->clear();
    Control<QWidget>(ControlId::StaticRadio)->hide();
    Control<QWidget>(ControlId::DhcpRadio)->hide();

    auto* list = Control<QTreeView>(ControlId::DeviceList);
    list->setFont(FontWithCellHeight(QApplication::font(), 16));
    Control<QWidget>(ControlId::HelpText)
        ->setFont(FontWithCellHeight(QFont(QStringLiteral("Arial")), 8));
    // The headings come from the texts the language file has just set.
    emit m_ListModel->headerDataChanged(Qt::Horizontal, 0, DeviceList::kColumnCount - 1);
    const int width = list->width();
    list->header()->resizeSection(0, 0);
    list->header()->resizeSection(1, width / 2 + 22);
    list->header()->resizeSection(2, width / 2 - 28);

    SetCredentialsVisible(false);
    Control<QWidget>(ControlId::ProgressLabel)->hide();

    auto* interfaces = Control<QComboBox>(ControlId::InterfaceChoice);
    interfaces->setFont(FontWithCellHeight(font(), 16));
    interfaces->resize(interfaces->width(), interfaces->sizeHint().height());

    m_Api.init();
    m_Api.setIPSearch(0, "");
    OnSearch();
}

void CIpEditDlg::reject() {
    OnCancel();
}

void CIpEditDlg::OnCancel() {
    if (m_Closed) {
        return;
    }
    m_Closed = true;
    ProgramLog().WriteLog("CIpEditDlg::OnCancel() begin\n");
    // A search still waiting must end before the library goes away.
    m_SearchThread.quit();
    m_SearchThread.wait();
    // Likewise a batch of the assign dialog.
    DropAssignDialog();
    m_Api.deinit();
    ProgramLog().WriteLog("CIpEditDlg::OnCancel() end\n");
    QDialog::reject();
}

void CIpEditDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    m_AssignAction->setText(
        QString::fromStdU16String(m_ExtraTexts.Text(ExtraText::AssignMenuEntry)));
    m_AssignAction->setEnabled(!m_Searching);
    menu.addAction(m_AssignAction);
    // The library's table must not be read while a search replaces it.
    m_ExportAction->setEnabled(!m_Searching);
    menu.addAction(m_ExportAction);
    menu.addSeparator();
    menu.addAction(m_AboutAction);
    menu.exec(event->globalPos());
}

void CIpEditDlg::ShowAboutBox() {
    CAboutInfoDlg about(m_ExtraTexts, this);
    about.exec();
}

void CIpEditDlg::OpenAssignDialog() {
    if (m_Searching || m_Closed || m_AssignDialog) {
        return;
    }
    AssignSite site{ReadSiteDevices(m_Api), ReadHostAddresses(m_Api), SelectedMacs()};
    m_AssignDialog =
        std::make_unique<AssignDlg>(m_Api, std::move(site), m_Texts, m_ExtraTexts, this);
    connect(m_AssignDialog.get(), &QDialog::finished, this, &CIpEditDlg::OnAssignClosed);
    m_AssignDialog->open();
}

void CIpEditDlg::OnAssignClosed() {
    const bool applied = m_AssignDialog->Applied();
    // Deleted once its signal has returned.
    m_AssignDialog.release()->deleteLater();
    if (applied) {
        OnSearch();
    }
}

void CIpEditDlg::DropAssignDialog() {
    if (m_AssignDialog) {
        // Its closing must not come back here while this dialog goes away.
        m_AssignDialog->disconnect(this);
        m_AssignDialog.reset();
    }
}

std::vector<MacBytes> CIpEditDlg::SelectedMacs() const {
    auto* list = Control<QTreeView>(ControlId::DeviceList);
    QModelIndexList selected = list->selectionModel()->selectedRows();
    // Top to bottom, as the rows are shown.
    std::sort(selected.begin(), selected.end());
    std::vector<MacBytes> macs;
    for (const QModelIndex& row : selected) {
        const int index = m_Devices.DeviceNumber(static_cast<std::size_t>(row.row())) - 1;
        if (const std::optional<SiteDevice> device = ReadSiteDevice(m_Api, index)) {
            macs.push_back(device->mac);
        }
    }
    return macs;
}

void CIpEditDlg::OnExportList() {
    if (m_Searching || m_Closed) {
        return;
    }
    ExportDeviceList(this, m_Api, m_Devices, m_ExtraTexts, m_ChooseSaveFile);
}

bool CIpEditDlg::eventFilter(QObject* watched, QEvent* event) {
    // The filter is in place while the controls are still being made.
    const auto control = m_Controls.find(ControlId::DeviceList);
    if (control == m_Controls.end()) {
        return QDialog::eventFilter(watched, event);
    }
    auto* list = qobject_cast<QTreeView*>(control->second);
    if (watched == list && event->type() == QEvent::KeyRelease) {
        // Loaded once the key is let go: a held arrow key passes rows without loading each.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && IsRowChoosingKey(key->key())) {
            LoadCurrentRow();
        }
    }
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (watched == list->viewport() && (press || event->type() == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        const QModelIndex index = list->indexAt(mouse->position().toPoint());
        if (press && mouse->button() == Qt::RightButton) {
            return OnRightPressDevList(index);
        }
        // Only the left button opens the page: a right double click is two context clicks.
        if (!press && mouse->button() == Qt::LeftButton && index.isValid()) {
            OnDblClickDevList(index.row());
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool CIpEditDlg::IsRowChoosingKey(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
    case Qt::Key_Select:
        return true;
    default:
        return false;
    }
}

void CIpEditDlg::LoadCurrentRow() {
    const int row = Control<QTreeView>(ControlId::DeviceList)->currentIndex().row();
    if (row >= 0 && !m_Searching &&
        m_LoadedDevice != m_Devices.DeviceNumber(static_cast<std::size_t>(row))) {
        OnClickDevList(row);
    }
}

bool CIpEditDlg::OnRightPressDevList(const QModelIndex& index) {
    if (!index.isValid() || m_Searching) {
        return false;
    }
    // The menu's entries act on the row under the mouse, so that row is loaded and highlighted
    // as a click would; a row of a multiple selection keeps the selection.
    QItemSelectionModel* selection = Control<QTreeView>(ControlId::DeviceList)->selectionModel();
    selection->setCurrentIndex(index, selection->isSelected(index)
                                          ? QItemSelectionModel::NoUpdate
                                          : QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    LoadCurrentRow();
    return true;
}

// Search side: the search button, the interface drop-down and the device list.

void CIpEditDlg::OnSearch() {
    if (m_Searching || m_Closed || m_AssignDialog) {
        return;
    }
    SetSearching(true);
    ClearSettingsFields();
    m_Choice.Select(Control<QComboBox>(ControlId::InterfaceChoice)->currentIndex());
    const bool chosen = m_Search.ChooseInterface();
    ShowInterfaceChoice();
    if (!chosen) {
        QMessageBox refusal(QMessageBox::NoIcon, QString(),
                            QString::fromStdU16String(m_Texts.Text(UiText::CheckNetworkCard)),
                            QMessageBox::Ok);
        refusal.setTextFormat(Qt::PlainText);
        refusal.exec();
        m_Search.RefillAfterRefusal();
        ShowInterfaceChoice();
        m_Sent.reset();
        SetSearching(false);
        return;
    }
    emit SearchRequested();
}

void CIpEditDlg::OnSearchFinished(bool searched) {
    if (m_Closed) {
        return;
    }
    m_Search.ListDevices(searched);
    ShowDeviceRows();
    SetSearching(false);
    if (m_Sent) {
        ReportSubmit();
    }
}

void CIpEditDlg::SetSearching(bool searching) {
    m_Searching = searching;
    Control<QWidget>(ControlId::SearchButton)->setEnabled(!searching);
    // Without a device in the fields a submit could only fail.
    Control<QWidget>(ControlId::SubmitButton)->setEnabled(!searching && m_LoadedDevice);
    Control<QWidget>(ControlId::DeviceList)->setEnabled(!searching);
    auto* progress = Control<QLabel>(ControlId::ProgressLabel);
    progress->setText(QString::fromStdU16String(m_Texts.Text(UiText::Searching)));
    progress->setVisible(searching);
}

void CIpEditDlg::ClearSettingsFields() {
    m_LoadedDevice.reset();
    Control<QLineEdit>(ControlId::NameField)->clear();
    Control<QLineEdit>(ControlId::MacField)->clear();
    for (const ControlId field :
         {ControlId::IpField, ControlId::GatewayField, ControlId::NetmaskField,
          ControlId::Dns1Field, ControlId::Dns2Field}) {
        Control<Ipv4AddressField>(field)->Clear();
    }
    Control<QLineEdit>(ControlId::PortField)->clear();
}

void CIpEditDlg::ShowInterfaceChoice() {
    auto* interfaces = Control<QComboBox>(ControlId::InterfaceChoice);
    const QSignalBlocker quiet(interfaces);
    interfaces->clear();
    for (const std::u16string& entry : m_Choice.Entries()) {
        interfaces->addItem(QString::fromStdU16String(entry));
    }
    interfaces->setCurrentIndex(m_Choice.Selected());
}

void CIpEditDlg::ShowDeviceRows() {
    m_ListModel->ShowRows(FindRowProblems(m_Api, m_Devices, m_ExtraTexts));
}

void CIpEditDlg::OnColumnClickDevList(int column) {
    m_ListModel->SortByColumn(column);
}

void CIpEditDlg::ShowLoadedRow() {
    if (!m_LoadedDevice) {
        return;
    }
    auto* list = Control<QTreeView>(ControlId::DeviceList);
    for (std::size_t row = 0; row < m_Devices.Rows().size(); ++row) {
        if (m_Devices.DeviceNumber(row) == *m_LoadedDevice) {
            list->setCurrentIndex(m_ListModel->index(static_cast<int>(row), 1));
            return;
        }
    }
}

// Editing side: loading a clicked device, the radio buttons, Submit and the web page.

void CIpEditDlg::OnClickDevList(int row) {
    const int deviceNumber = m_Devices.DeviceNumber(static_cast<std::size_t>(row));
    const std::optional<DeviceFields> fields = m_Editor->Load(deviceNumber);
    if (!fields) {
        return;
    }
    m_LoadedDevice = deviceNumber;
    Control<QWidget>(ControlId::SubmitButton)->setEnabled(!m_Searching);
    auto* staticRadio = Control<QRadioButton>(ControlId::StaticRadio);
    auto* dhcpRadio = Control<QRadioButton>(ControlId::DhcpRadio);
    staticRadio->show();
    dhcpRadio->show();
    dhcpRadio->setChecked(fields->dhcp);
    staticRadio->setChecked(!fields->dhcp);
    SetAddressingFieldsEnabled(!fields->dhcp);

    Control<QLineEdit>(ControlId::NameField)->setText(QString::fromStdU16String(fields->name));
    Control<Ipv4AddressField>(ControlId::IpField)->SetAddress(fields->ip);
    SetCredentialsVisible(fields->credentials);
    Control<Ipv4AddressField>(ControlId::NetmaskField)->SetAddress(fields->netmask);
    Control<Ipv4AddressField>(ControlId::GatewayField)->SetAddress(fields->gateway);
    Control<Ipv4AddressField>(ControlId::Dns1Field)->SetAddress(fields->dns1);
    Control<Ipv4AddressField>(ControlId::Dns2Field)->SetAddress(fields->dns2);
    Control<QLineEdit>(ControlId::PortField)->setText(QString::number(fields->port));
    Control<QLineEdit>(ControlId::MacField)->setText(QString::fromStdString(fields->mac).toUpper());
}

void CIpEditDlg::OnDblClickDevList(int row) {
    if (m_Searching) {
        return;
    }
    // The click before it loaded this row, unless the fields were emptied in between.
    if (m_LoadedDevice != m_Devices.DeviceNumber(static_cast<std::size_t>(row))) {
        OnClickDevList(row);
    }
    if (const std::optional<std::string> address = m_Editor->WebAddress()) {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(*address)));
    } else if (m_LoadedDevice) {
        ShowMessage(QMessageBox::Warning,
                    FillIn(m_ExtraTexts.Text(ExtraText::PortCannotOpen),
                           Utf16FromAscii(std::to_string(m_Editor->Selected().port))));
    }
}

void CIpEditDlg::OnRadioStatic() {
    Control<QRadioButton>(ControlId::DhcpRadio)->setChecked(false);
    Control<QRadioButton>(ControlId::StaticRadio)->setChecked(true);
    SetAddressingFieldsEnabled(true);
}

void CIpEditDlg::OnRadioDHCP() {
    Control<QRadioButton>(ControlId::DhcpRadio)->setChecked(true);
    Control<QRadioButton>(ControlId::StaticRadio)->setChecked(false);
    SetAddressingFieldsEnabled(false);
}

void CIpEditDlg::SetAddressingFieldsEnabled(bool enabled) {
    for (const ControlId field :
         {ControlId::IpField, ControlId::NetmaskField, ControlId::GatewayField}) {
        Control<QWidget>(field)->setEnabled(enabled);
    }
}

void CIpEditDlg::SetCredentialsVisible(bool visible) {
    for (const ControlId control : {ControlId::UserNameField, ControlId::PasswordField,
                                    ControlId::UserNameLabel, ControlId::PasswordLabel}) {
        Control<QWidget>(control)->setVisible(visible);
    }
}

void CIpEditDlg::OnSubmit() {
    if (m_Searching || m_Closed) {
        return;
    }
    const SettingsForm form = ReadForm();
    const SubmitResult result = m_Editor->Submit(form);
    if (result.outcome == SubmitOutcome::Sent) {
        m_Sent = SentSettings{m_Editor->Selected().MAC, result.sent, result.port};
        m_Sent->form.password.clear();
        OnSearch();
    } else if (result.outcome == SubmitOutcome::Refused) {
        const bool nameProblem = result.problem == FormProblem::NameTooLong ||
                                 result.problem == FormProblem::NameTooManyBytes ||
                                 result.problem == FormProblem::KeptNameIncomplete;
        auto* field = Control<QLineEdit>(nameProblem ? ControlId::NameField : ControlId::PortField);
        ShowMessage(QMessageBox::Warning, FormProblemText(result.problem, m_ExtraTexts));
        field->setFocus();
        field->selectAll();
    } else {
        // The library refused the addresses or could not send; say which when the shared
        // rules know.
        const FormProblem problem = CheckAddresses(form);
        ShowMessage(QMessageBox::Warning, problem != FormProblem::None
                                              ? FormProblemText(problem, m_ExtraTexts)
                                              : m_ExtraTexts.Text(ExtraText::SubmitNotSent));
    }
}

void CIpEditDlg::ReportSubmit() {
    const SentSettings sent = *m_Sent;
    m_Sent.reset();
    const std::optional<int> index = FindDeviceIndex(m_Api, sent.mac);
    const SubmitReport report = CheckSubmit(index ? ReadSiteDevice(m_Api, *index) : std::nullopt,
                                            sent.form, sent.port, ReadHostAddresses(m_Api));
    if (index) {
        // Found by address, not by row: the list may have changed order.
        for (std::size_t row = 0; row < m_Devices.Rows().size(); ++row) {
            if (m_Devices.DeviceNumber(row) == *index + 1) {
                OnClickDevList(static_cast<int>(row));
                ShowLoadedRow();
            }
        }
    }
    ShowMessage(report.verdict == SubmitVerdict::Applied ? QMessageBox::Information
                                                         : QMessageBox::Warning,
                SubmitReportText(report, m_ExtraTexts));
}

void CIpEditDlg::ShowMessage(QMessageBox::Icon icon, const std::u16string& text) {
    QMessageBox box(icon, windowTitle(), QString::fromStdU16String(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

SettingsForm CIpEditDlg::ReadForm() const {
    SettingsForm form;
    form.name = Control<QLineEdit>(ControlId::NameField)->text().toStdU16String();
    form.portText = Control<QLineEdit>(ControlId::PortField)->text().toStdU16String();
    form.ip = Control<Ipv4AddressField>(ControlId::IpField)->Address();
    form.netmask = Control<Ipv4AddressField>(ControlId::NetmaskField)->Address();
    form.gateway = Control<Ipv4AddressField>(ControlId::GatewayField)->Address();
    form.dns1 = Control<Ipv4AddressField>(ControlId::Dns1Field)->Address();
    form.dns2 = Control<Ipv4AddressField>(ControlId::Dns2Field)->Address();
    form.dhcp = Control<QRadioButton>(ControlId::DhcpRadio)->isChecked();
    form.user = Control<QLineEdit>(ControlId::UserNameField)->text().toStdU16String();
    form.password = Control<QLineEdit>(ControlId::PasswordField)->text().toStdU16String();
    return form;
}

} // namespace kestrun

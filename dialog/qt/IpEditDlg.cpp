#include "IpEditDlg.h"

#include "AboutInfoDlg.h"
#include "ApplicationIcon.h"
#include "AssignDlg.h"
#include "DeviceListModel.h"
#include "DialogTemplate.h"
#include "DialogUnits.h"
#include "Ipv4AddressField.h"
#include "SearchWorker.h"
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

#include <utility>

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

CIpEditDlg::CIpEditDlg(const LibraryApi& api, std::unique_ptr<WsdScan> wsdScan, QWidget* parent)
    : QDialog(parent, kWindowFlags), m_Api(api),
      m_Controller(std::make_unique<DialogController>(m_Api, static_cast<DialogView&>(*this),
                                                      std::move(wsdScan))) {
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

    m_Worker = std::make_unique<SearchWorker>();
    m_Worker->moveToThread(&m_WorkerThread);
    connect(m_Worker.get(), &SearchWorker::Finished, this, &CIpEditDlg::OnBackgroundFinished);
    m_WorkerThread.start();
}

CIpEditDlg::~CIpEditDlg() {
    m_Controller->OnDestroy();
    // The list's model reads rows that go before the widgets do.
    List()->setModel(nullptr);
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
        m_ListModel =
            new DeviceListModel(m_Controller->Devices(), m_Controller->Texts(),
                                style()->standardIcon(QStyle::SP_MessageBoxWarning), list);
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
        // Each button is a group of its own: the handlers set both check marks. Tab reaches
        // both and Space switches, as a click does.
        radio->setAutoExclusive(false);
        return radio;
    }
    }
    return nullptr;
}

template <typename Widget> Widget* CIpEditDlg::Control(ControlId id) const {
    return qobject_cast<Widget*>(m_Controls.at(id));
}

void CIpEditDlg::ConnectControls() {
    DialogController* controller = m_Controller.get();
    connect(Control<QPushButton>(ControlId::SearchButton), &QPushButton::clicked, this,
            [controller] { controller->OnSearch(); });
    connect(Control<QPushButton>(ControlId::SubmitButton), &QPushButton::clicked, this,
            [controller] { controller->OnSubmit(); });
    connect(Control<QPushButton>(ControlId::ReadButton), &QPushButton::clicked, this,
            [controller] { controller->OnReadCamera(); });
    connect(Control<QPushButton>(ControlId::Exit), &QPushButton::clicked, this,
            &CIpEditDlg::reject);
    connect(Control<QRadioButton>(ControlId::StaticRadio), &QRadioButton::clicked, this,
            [controller] { controller->OnRadioStatic(); });
    connect(Control<QRadioButton>(ControlId::DhcpRadio), &QRadioButton::clicked, this,
            [controller] { controller->OnRadioDhcp(); });
    connect(List(), &QTreeView::clicked, this,
            [controller](const QModelIndex& index) { controller->OnClickRow(index.row()); });
    connect(List()->header(), &QHeaderView::sectionClicked, this,
            [controller](int column) { controller->OnColumnClick(column); });
    connect(m_AboutAction, &QAction::triggered, this, &CIpEditDlg::ShowAboutBox);
    connect(m_AssignAction, &QAction::triggered, this,
            [controller] { controller->OnAssignAddresses(); });
    connect(m_ExportAction, &QAction::triggered, this,
            [controller] { controller->OnExportList(); });
}

QTreeView* CIpEditDlg::List() const {
    return Control<QTreeView>(ControlId::DeviceList);
}

void CIpEditDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_Initialised) {
        m_Initialised = true;
        m_Controller->OnInitDialog();
    }
}

void CIpEditDlg::reject() {
    m_Controller->OnCancel();
}

void CIpEditDlg::EndDialog() {
    QDialog::reject();
}

void CIpEditDlg::contextMenuEvent(QContextMenuEvent* event) {
    const ContextMenuState state = m_Controller->ContextMenu();
    QMenu menu(this);
    m_AssignAction->setText(QString::fromStdU16String(state.assignText));
    m_AssignAction->setEnabled(state.assignEnabled);
    menu.addAction(m_AssignAction);
    m_ExportAction->setEnabled(state.exportEnabled);
    menu.addAction(m_ExportAction);
    menu.addSeparator();
    menu.addAction(m_AboutAction);
    menu.exec(event->globalPos());
}

void CIpEditDlg::ShowAboutBox() {
    CAboutInfoDlg about(m_Controller->ExtraTexts(), this);
    about.exec();
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
            m_Controller->OnRowChosen(CurrentRow());
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
            m_Controller->OnDoubleClickRow(index.row());
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

bool CIpEditDlg::OnRightPressDevList(const QModelIndex& index) {
    return m_Controller->OnRightPressRow(index.isValid() ? index.row() : -1);
}

void CIpEditDlg::MarkRowForMenu(std::size_t row) {
    // A row of a multiple selection keeps the selection.
    QItemSelectionModel* selection = List()->selectionModel();
    const QModelIndex index = m_ListModel->index(static_cast<int>(row), 1);
    selection->setCurrentIndex(index, selection->isSelected(index)
                                          ? QItemSelectionModel::NoUpdate
                                          : QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
}

// The assign dialog.

void CIpEditDlg::OpenAssignDialog(AssignSite site) {
    m_AssignDialog = std::make_unique<AssignDlg>(m_Api, std::move(site), m_Controller->Texts(),
                                                 m_Controller->ExtraTexts(), this);
    connect(m_AssignDialog.get(), &QDialog::finished, this, &CIpEditDlg::OnAssignClosed);
    m_AssignDialog->open();
}

void CIpEditDlg::OnAssignClosed() {
    const bool applied = m_AssignDialog->Applied();
    // Deleted once its signal has returned.
    m_AssignDialog.release()->deleteLater();
    m_Controller->OnAssignClosed(applied);
}

void CIpEditDlg::CloseAssignDialog() {
    if (m_AssignDialog) {
        // Its closing must not come back here while this dialog goes away.
        m_AssignDialog->disconnect(this);
        m_AssignDialog.reset();
    }
}

// Background work.

void CIpEditDlg::RunInBackground(std::function<bool()> work, std::function<void(bool)> done) {
    m_BackgroundDone = std::move(done);
    m_Worker->Run(std::move(work));
}

void CIpEditDlg::OnBackgroundFinished(bool result) {
    if (std::function<void(bool)> done = std::exchange(m_BackgroundDone, nullptr)) {
        done(result);
    }
}

void CIpEditDlg::StopBackgroundWork() {
    m_BackgroundDone = nullptr;
    m_WorkerThread.quit();
    m_WorkerThread.wait();
}

void CIpEditDlg::PostProgress(std::u16string text) {
    QMetaObject::invokeMethod(
        this,
        [this, text = std::move(text)] {
            // Work stopped meanwhile has nothing more to tell.
            if (m_BackgroundDone) {
                SetControlText(ControlId::CameraProgress, text);
            }
        },
        Qt::QueuedConnection);
}

// The controls as the controller sees them.

void CIpEditDlg::SetControlText(ControlId control, const std::u16string& text) {
    const QString qtext = QString::fromStdU16String(text);
    QWidget* widget = m_Controls.at(control);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(qtext);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(qtext);
    }
}

std::u16string CIpEditDlg::FieldText(ControlId field) const {
    return Control<QLineEdit>(field)->text().toStdU16String();
}

void CIpEditDlg::SetFieldText(ControlId field, const std::u16string& text) {
    Control<QLineEdit>(field)->setText(QString::fromStdU16String(text));
}

Ipv4Octets CIpEditDlg::FieldAddress(ControlId field) const {
    return Control<Ipv4AddressField>(field)->Address();
}

bool CIpEditDlg::IsAddressPartlyFilled(ControlId field) const {
    return Control<Ipv4AddressField>(field)->IsPartlyFilled();
}

void CIpEditDlg::SetFieldAddress(ControlId field, const Ipv4Octets& address) {
    Control<Ipv4AddressField>(field)->SetAddress(address);
}

void CIpEditDlg::ClearField(ControlId field) {
    if (auto* address = Control<Ipv4AddressField>(field)) {
        address->Clear();
    } else {
        Control<QLineEdit>(field)->clear();
    }
}

void CIpEditDlg::FocusField(ControlId field) {
    if (auto* address = Control<Ipv4AddressField>(field)) {
        address->FocusFirstBlank();
        return;
    }
    auto* edit = Control<QLineEdit>(field);
    edit->setFocus();
    edit->selectAll();
}

bool CIpEditDlg::IsChecked(ControlId radio) const {
    return Control<QRadioButton>(radio)->isChecked();
}

void CIpEditDlg::SetChecked(ControlId radio, bool checked) {
    Control<QRadioButton>(radio)->setChecked(checked);
}

void CIpEditDlg::EnableControl(ControlId control, bool enabled) {
    m_Controls.at(control)->setEnabled(enabled);
}

void CIpEditDlg::ShowControl(ControlId control, bool visible) {
    m_Controls.at(control)->setVisible(visible);
}

void CIpEditDlg::ArrangeControls() {
    m_ExportAction->setText(
        QString::fromStdU16String(m_Controller->ExtraTexts().Text(ExtraText::ExportList)));
    QTreeView* list = List();
    list->setFont(FontWithCellHeight(QApplication::font(), 16));
    Control<QWidget>(ControlId::HelpText)
        ->setFont(FontWithCellHeight(QFont(QStringLiteral("Arial")), 8));
    // The headings come from the texts the language file has just set.
    emit m_ListModel->headerDataChanged(Qt::Horizontal, 0, DeviceList::kColumnCount - 1);
    const int width = list->width();
    list->header()->resizeSection(0, 0);
    list->header()->resizeSection(1, width / 2 + 22);
    list->header()->resizeSection(2, width / 2 - 28);

    auto* interfaces = Control<QComboBox>(ControlId::InterfaceChoice);
    interfaces->setFont(FontWithCellHeight(font(), 16));
    interfaces->resize(interfaces->width(), interfaces->sizeHint().height());
}

void CIpEditDlg::ShowInterfaceChoice(const std::vector<std::u16string>& entries, int selected) {
    auto* interfaces = Control<QComboBox>(ControlId::InterfaceChoice);
    const QSignalBlocker quiet(interfaces);
    interfaces->clear();
    for (const std::u16string& entry : entries) {
        interfaces->addItem(QString::fromStdU16String(entry));
    }
    interfaces->setCurrentIndex(selected);
}

int CIpEditDlg::ChosenInterface() const {
    return Control<QComboBox>(ControlId::InterfaceChoice)->currentIndex();
}

void CIpEditDlg::ShowRows(const std::vector<RowFinding>& findings) {
    m_ListModel->ShowRows(findings);
}

void CIpEditDlg::ReorderRows(const std::function<void()>& reorder) {
    m_ListModel->Reorder(reorder);
}

int CIpEditDlg::CurrentRow() const {
    return List()->currentIndex().row();
}

void CIpEditDlg::SetCurrentRow(std::size_t row) {
    List()->setCurrentIndex(m_ListModel->index(static_cast<int>(row), 1));
}

std::vector<std::size_t> CIpEditDlg::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : List()->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    return rows;
}

void CIpEditDlg::ShowMessage(MessageIcon icon, const std::u16string& text) {
    const QString qtext = QString::fromStdU16String(text);
    // The refusal of a network card is the program's plain notice, without caption or owner.
    std::unique_ptr<QMessageBox> box =
        icon == MessageIcon::None
            ? std::make_unique<QMessageBox>(QMessageBox::NoIcon, QString(), qtext, QMessageBox::Ok)
            : std::make_unique<QMessageBox>(icon == MessageIcon::Information
                                                ? QMessageBox::Information
                                                : QMessageBox::Warning,
                                            windowTitle(), qtext, QMessageBox::Ok, this);
    box->setTextFormat(Qt::PlainText);
    box->exec();
}

void CIpEditDlg::OpenUrl(const std::string& address) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

std::optional<SaveChoice> CIpEditDlg::ChooseSaveFile(const std::u16string& caption,
                                                     const std::vector<std::u16string>& filters,
                                                     std::size_t chosenFilter) {
    QStringList offered;
    for (const std::u16string& filter : filters) {
        offered << QString::fromStdU16String(filter);
    }
    QString chosen = offered.value(static_cast<qsizetype>(chosenFilter));
    const QString path =
        m_ChooseSaveFile(this, QString::fromStdU16String(caption), offered, chosen);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    const qsizetype filter = offered.indexOf(chosen);
    return SaveChoice{path.toStdString(),
                      filter < 0 ? chosenFilter : static_cast<std::size_t>(filter)};
}

std::optional<std::u16string> CIpEditDlg::SaveWholeFile(const std::string& path,
                                                        const std::string& bytes) {
    if (const std::optional<QString> error = WriteWholeFile(QString::fromStdString(path), bytes)) {
        return error->toStdU16String();
    }
    return std::nullopt;
}

} // namespace kestrun

#include "AssignDlg.h"

#include "AssignTable.h"
#include "AssignWorker.h"
#include "Ipv4AddressField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace kestrun {

namespace {

using vanmoor::commission::AssignOutcome;

QLabel* PlainLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QString FromText(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

} // namespace

AssignDlg::AssignDlg(const LibraryApi& api, AssignSite site, const UiTextTable& texts,
                     const ExtraTextTable& extraTexts, QWidget* parent)
    : QDialog(parent), m_ExtraTexts(extraTexts),
      m_Controller(std::make_unique<AssignController>(api, std::move(site), extraTexts,
                                                      static_cast<AssignView&>(*this))) {
    setWindowTitle(Text(ExtraText::AssignTitle));
    auto* fields = new QWidget(this);
    fields->setObjectName(QStringLiteral("assignFields"));
    m_Form = new QFormLayout(fields);
    m_First = AddAddressField(Text(ExtraText::AssignFirstAddress), "firstField");
    m_Netmask = AddAddressField(FromText(texts.Text(UiText::Netmask)), "netmaskField");
    m_Gateway = AddAddressField(FromText(texts.Text(UiText::Gateway)), "gatewayField");
    // An empty gateway field keeps each device's own; none at all must be chosen.
    m_NoGateway = new QCheckBox(Text(ExtraText::AssignNoGateway), fields);
    m_NoGateway->setObjectName(QStringLiteral("noGatewayBox"));
    m_Form->addRow(QString(), m_NoGateway);
    // Such a device can no longer be reached from here: only when asked for.
    m_AllowOtherSubnet = new QCheckBox(Text(ExtraText::AssignAllowOtherSubnet), fields);
    m_AllowOtherSubnet->setObjectName(QStringLiteral("allowOtherSubnetBox"));
    m_Form->addRow(QString(), m_AllowOtherSubnet);
    AssignController* controller = m_Controller.get();
    connect(m_AllowOtherSubnet, &QCheckBox::toggled, this,
            [controller] { controller->OnFieldsChanged(); });
    connect(m_NoGateway, &QCheckBox::toggled, this, [this, controller](bool none) {
        m_Gateway->setEnabled(!none);
        controller->OnFieldsChanged();
    });
    m_Dns1 = AddAddressField(FromText(texts.Text(UiText::Dns1)), "dns1Field");
    m_Dns2 = AddAddressField(FromText(texts.Text(UiText::Dns2)), "dns2Field");
    m_NamePattern = new QLineEdit(fields);
    m_NamePattern->setObjectName(QStringLiteral("namePatternField"));
    m_NamePattern->setPlaceholderText(QStringLiteral("Cam-{n:02}"));
    m_Form->addRow(Text(ExtraText::AssignNamePattern), m_NamePattern);
    connect(m_NamePattern, &QLineEdit::textChanged, this,
            [controller] { controller->OnFieldsChanged(); });
    AddChoice();
    AddCredentials();
    QLabel* hint = PlainLabel(this);
    hint->setText(Text(ExtraText::AssignKeepHint));

    m_Message = PlainLabel(this);
    m_Message->setObjectName(QStringLiteral("messageLabel"));
    m_Table = new AssignTable(texts, extraTexts, this);
    m_Table->setObjectName(QStringLiteral("assignTable"));
    m_Table->setMinimumWidth(560);
    // Room for a few rows beside the fields, the credentials and the progress bar.
    m_Table->setMinimumHeight(m_Table->horizontalHeader()->sizeHint().height() +
                              6 * m_Table->verticalHeader()->defaultSectionSize());
    m_Progress = new QProgressBar(this);
    m_Progress->setObjectName(QStringLiteral("assignProgress"));
    m_Progress->hide();
    m_Apply = new QPushButton(Text(ExtraText::AssignApply), this);
    m_Apply->setObjectName(QStringLiteral("applyButton"));
    m_Close = new QPushButton(Text(ExtraText::AssignClose), this);
    m_Close->setObjectName(QStringLiteral("closeButton"));
    // Enter in a field must not start a batch on many devices.
    m_Apply->setAutoDefault(false);
    m_Close->setAutoDefault(false);
    connect(m_Apply, &QPushButton::clicked, this, [controller] { controller->OnApply(); });
    connect(m_Close, &QPushButton::clicked, this, &AssignDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_Apply);
    buttons->addWidget(m_Close);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* widget : {fields, static_cast<QWidget*>(hint), static_cast<QWidget*>(m_Message),
                            static_cast<QWidget*>(m_Table), static_cast<QWidget*>(m_Progress)}) {
        layout->addWidget(widget);
    }
    layout->addLayout(buttons);
    controller->OnFieldsChanged();
}

AssignDlg::~AssignDlg() {
    // A batch still running when the owner goes first must end before the library deinits.
    m_Thread.quit();
    m_Thread.wait();
    if (m_ReadThread) {
        m_ReadThread->wait();
    }
}

QString AssignDlg::Text(ExtraText entry) const {
    return FromText(m_ExtraTexts.Text(entry));
}

Ipv4AddressField* AssignDlg::AddAddressField(const QString& label, const char* name) {
    auto* field = new Ipv4AddressField(m_Form->parentWidget());
    field->setObjectName(QString::fromLatin1(name));
    m_Form->addRow(label, field);
    connect(field, &Ipv4AddressField::AddressChanged, this,
            [this] { m_Controller->OnFieldsChanged(); });
    return field;
}

void AssignDlg::AddChoice() {
    m_Choice = new QComboBox(m_Form->parentWidget());
    m_Choice->setObjectName(QStringLiteral("deviceChoice"));
    m_Choice->addItem(Text(ExtraText::AssignChoiceSelected),
                      static_cast<int>(AssignChoice::Selected));
    m_Choice->addItem(Text(ExtraText::AssignChoiceMarked), static_cast<int>(AssignChoice::Marked));
    m_Choice->addItem(Text(ExtraText::AssignChoiceAll), static_cast<int>(AssignChoice::All));
    m_Choice->setCurrentIndex(m_Choice->findData(static_cast<int>(m_Controller->InitialChoice())));
    m_Form->addRow(Text(ExtraText::AssignDevices), m_Choice);
    m_Form->setRowVisible(m_Choice, m_Controller->ChoiceOffered());
    connect(m_Choice, &QComboBox::currentIndexChanged, this,
            [this] { m_Controller->OnFieldsChanged(); });
}

void AssignDlg::AddCredentials() {
    m_User = new QLineEdit(m_Form->parentWidget());
    m_User->setObjectName(QStringLiteral("userNameField"));
    m_Password = new QLineEdit(m_Form->parentWidget());
    m_Password->setObjectName(QStringLiteral("passwordField"));
    m_Password->setEchoMode(QLineEdit::Password);
    m_Form->addRow(Text(ExtraText::AssignUserName), m_User);
    m_Form->addRow(Text(ExtraText::AssignPassword), m_Password);
    m_ReadCameras = new QPushButton(Text(ExtraText::AssignReadCameras), m_Form->parentWidget());
    m_ReadCameras->setObjectName(QStringLiteral("readCamerasButton"));
    m_ReadCameras->setAutoDefault(false);
    m_Form->addRow(QString(), m_ReadCameras);
    connect(m_ReadCameras, &QPushButton::clicked, this, [this] { m_Controller->OnReadCameras(); });
}

// The controls as the controller sees them.

AssignChoice AssignDlg::Choice() const {
    return static_cast<AssignChoice>(m_Choice->currentData().toInt());
}

AssignFields AssignDlg::Fields() const {
    const std::array<const Ipv4AddressField*, 5> addresses{m_First, m_Netmask, m_Gateway, m_Dns1,
                                                           m_Dns2};
    return {m_First->Address(),
            m_Netmask->Address(),
            m_Gateway->Address(),
            m_NoGateway->isChecked(),
            m_AllowOtherSubnet->isChecked(),
            m_Dns1->Address(),
            m_Dns2->Address(),
            m_NamePattern->text().toStdU16String(),
            std::any_of(addresses.begin(), addresses.end(),
                        [](const Ipv4AddressField* field) { return field->IsPartlyFilled(); })};
}

Credentials AssignDlg::TypedCredentials() const {
    return Credentials{m_User->text().toStdString(), m_Password->text().toStdString()};
}

void AssignDlg::ShowPlan(const std::vector<PlannedDevice>& plan,
                         const std::vector<SiteDevice>& leftOut) {
    m_Table->ShowPlan(plan, leftOut);
}

void AssignDlg::ShowMessage(const std::u16string& text) {
    m_Message->setText(FromText(text));
}

void AssignDlg::EnableApply(bool enabled) {
    m_Apply->setEnabled(enabled);
}

void AssignDlg::ShowCredentials(bool visible) {
    m_Form->setRowVisible(m_User, visible);
    m_Form->setRowVisible(m_Password, visible);
}

void AssignDlg::ShowReadCameras(bool visible) {
    m_Form->setRowVisible(m_ReadCameras, visible);
}

void AssignDlg::FocusUserName() {
    m_User->setFocus();
}

void AssignDlg::LockForWork(bool locked) {
    m_Form->parentWidget()->setEnabled(!locked);
    m_Close->setEnabled(!locked);
    if (locked) {
        m_Apply->setEnabled(false);
    }
}

void AssignDlg::ShowBatchStarted(std::size_t devices) {
    LockForWork(true);
    m_Progress->setRange(0, static_cast<int>(devices));
    m_Progress->setValue(0);
    m_Progress->show();
}

void AssignDlg::ShowOutcome(const AssignOutcome& outcome) {
    m_Table->ShowOutcome(outcome);
}

void AssignDlg::ShowProgress(int done) {
    m_Progress->setValue(done);
}

void AssignDlg::ShowBatchEnded() {
    m_Progress->setValue(m_Progress->maximum());
    m_Close->setEnabled(true);
    m_Close->setFocus();
}

void AssignDlg::RunBatch(BatchWork work, BatchProgress progress,
                         std::function<void(const std::vector<AssignOutcome>&)> finished) {
    m_Progressed = std::move(progress);
    m_Finished = std::move(finished);
    m_Worker = std::make_unique<AssignWorker>(std::move(work));
    m_Worker->moveToThread(&m_Thread);
    connect(&m_Thread, &QThread::started, m_Worker.get(), &AssignWorker::Run);
    connect(m_Worker.get(), &AssignWorker::DeviceDone, this,
            [this](const AssignOutcome& outcome, int done) { m_Progressed(outcome, done); });
    connect(m_Worker.get(), &AssignWorker::Finished, this, &AssignDlg::OnBatchFinished);
    m_Thread.start();
}

void AssignDlg::OnBatchFinished(const std::vector<AssignOutcome>& outcomes) {
    m_Thread.quit();
    m_Thread.wait();
    m_Finished(outcomes);
}

void AssignDlg::RunInBackground(std::function<void()> work, std::function<void()> done) {
    LockForWork(true);
    if (m_ReadThread) {
        m_ReadThread->wait(); // it has finished: its thread may still be ending
    }
    m_ReadThread.reset(QThread::create(std::move(work)));
    connect(m_ReadThread.get(), &QThread::finished, this, [this, done = std::move(done)] {
        LockForWork(false);
        done();
    });
    m_ReadThread->start();
}

void AssignDlg::reject() {
    if (m_Controller->OnClose()) {
        QDialog::reject();
    }
}

void AssignDlg::CloseDialog() {
    QDialog::reject();
}

} // namespace kestrun

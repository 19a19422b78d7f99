#pragma once

#include "AssignController.h"
#include "AssignView.h"
#include "ExtraTextTable.h"
#include "LibraryApi.h"
#include "UiTextTable.h"

#include <QDialog>
#include <QThread>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kestrun {

class AssignTable;
class AssignWorker;
class Ipv4AddressField;

// "Assign addresses..." on Qt: the fields, the plan's table and the batch's progress. What they
// do is the controller's; this class makes the widgets, forwards their changes and runs the
// batch on its own thread.
class AssignDlg : public QDialog, private AssignView {
    Q_OBJECT

public:
    AssignDlg(const LibraryApi& api, AssignSite site, const UiTextTable& texts,
              const ExtraTextTable& extraTexts, QWidget* parent);
    ~AssignDlg() override;

    // While a batch runs: says so, and closes when it has ended.
    void reject() override;

    // Whether a batch ran: the devices' addresses may have changed.
    bool Applied() const { return m_Controller->Applied(); }

private:
    QString Text(ExtraText entry) const;
    Ipv4AddressField* AddAddressField(const QString& label, const char* name);
    void AddChoice();
    void AddCredentials();
    void OnBatchFinished(const std::vector<AssignOutcome>& outcomes);

    // AssignView
    AssignFields Fields() const override;
    AssignChoice Choice() const override;
    Credentials TypedCredentials() const override;
    void ShowPlan(const std::vector<PlannedDevice>& plan,
                  const std::vector<SiteDevice>& leftOut) override;
    void ShowMessage(const std::u16string& text) override;
    void EnableApply(bool enabled) override;
    void ShowCredentials(bool visible) override;
    void ShowReadCameras(bool visible) override;
    void FocusUserName() override;
    void ShowBatchStarted(std::size_t devices) override;
    void ShowOutcome(const AssignOutcome& outcome) override;
    void ShowProgress(int done) override;
    void ShowBatchEnded() override;
    void RunBatch(BatchWork work, BatchProgress progress,
                  std::function<void(const std::vector<AssignOutcome>&)> finished) override;
    void RunInBackground(std::function<void()> work, std::function<void()> done) override;
    void CloseDialog() override;
    void LockForWork(bool locked);

    const ExtraTextTable& m_ExtraTexts;
    std::unique_ptr<AssignController> m_Controller;

    // The batch runs on this thread; the worker goes before the thread object does.
    QThread m_Thread;
    std::unique_ptr<AssignWorker> m_Worker;
    BatchProgress m_Progressed;
    std::function<void(const std::vector<AssignOutcome>&)> m_Finished;
    // The cameras are read on this one.
    std::unique_ptr<QThread> m_ReadThread;

    // The controls, owned by the dialog as their parent.
    QFormLayout* m_Form = nullptr;
    Ipv4AddressField* m_First = nullptr;
    Ipv4AddressField* m_Netmask = nullptr;
    Ipv4AddressField* m_Gateway = nullptr;
    QCheckBox* m_NoGateway = nullptr;
    QCheckBox* m_AllowOtherSubnet = nullptr;
    Ipv4AddressField* m_Dns1 = nullptr;
    Ipv4AddressField* m_Dns2 = nullptr;
    QLineEdit* m_NamePattern = nullptr;
    QComboBox* m_Choice = nullptr;
    QLineEdit* m_User = nullptr;
    QLineEdit* m_Password = nullptr;
    QPushButton* m_ReadCameras = nullptr;
    QLabel* m_Message = nullptr;
    AssignTable* m_Table = nullptr;
    QProgressBar* m_Progress = nullptr;
    QPushButton* m_Apply = nullptr;
    QPushButton* m_Close = nullptr;
};

} // namespace kestrun

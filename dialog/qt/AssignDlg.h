#pragma once

#include "AssignPlanner.h"
#include "BatchAssign.h"
#include "ExtraTextTable.h"
#include "LibraryApi.h"
#include "UiTextTable.h"

#include <QDialog>
#include <QThread>

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

// "Assign addresses...": plans addresses for several devices from one first address, shows the
// plan while the fields change, and applies it off the user-interface thread, device by device,
// ending with each device's result. While it applies nothing else may call the library: closing
// the dialog then says so and closes it when the batch has ended.
class AssignDlg : public QDialog {
    Q_OBJECT

public:
    AssignDlg(const LibraryApi& api, AssignSite site, const UiTextTable& texts,
              const ExtraTextTable& extraTexts, QWidget* parent);
    ~AssignDlg() override;

    // While a batch runs: says so, and closes when it has ended.
    void reject() override;

    // Whether a batch ran: the devices' addresses may have changed.
    bool Applied() const { return m_Applied; }

private:
    QString Text(ExtraText entry) const;
    Ipv4AddressField* AddAddressField(const QString& label, const char* name);
    void AddChoice();
    void AddCredentials();
    AssignChoice Choice() const;
    AssignFields ReadFields() const;

    void UpdatePreview();
    // Whether a chosen device takes a user name and password.
    bool ChosenTakeCredentials() const;
    void OnApply();
    void OnDeviceDone(const vanmoor::commission::AssignOutcome& outcome, int done);
    void OnFinished(const std::vector<vanmoor::commission::AssignOutcome>& outcomes);

    const LibraryApi& m_Api;
    const AssignSite m_Site;
    const ExtraTextTable& m_ExtraTexts;
    AssignPreview m_Preview;

    // The batch runs on this thread; the worker goes before the thread object does.
    QThread m_Thread;
    std::unique_ptr<AssignWorker> m_Worker;
    bool m_Applied = false;
    // Closing was asked for while the batch ran.
    bool m_CloseWhenDone = false;

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
    QLabel* m_Message = nullptr;
    AssignTable* m_Table = nullptr;
    QProgressBar* m_Progress = nullptr;
    QPushButton* m_Apply = nullptr;
    QPushButton* m_Close = nullptr;
};

} // namespace kestrun

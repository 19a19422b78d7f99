#pragma once

#include <QDialog>

namespace kestrun {

// The about box: icon, program name and a line about what it does. No buttons: it closes with
// its close box or Escape.
class CAboutInfoDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutInfoDlg(QWidget* parent = nullptr);
};

} // namespace kestrun

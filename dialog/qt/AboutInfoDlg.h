#pragma once

#include "ExtraTextTable.h"

#include <QDialog>

namespace kestrun {

// The about box: icon, program name and a line about what it does. No buttons: it closes with
// its close box or Escape.
class CAboutInfoDlg : public QDialog {
    Q_OBJECT

public:
    // The line about what it does comes from `texts`; the rest keeps its fixed English.
    explicit CAboutInfoDlg(const ExtraTextTable& texts, QWidget* parent = nullptr);
};

} // namespace kestrun

#include "AboutInfoDlg.h"

#include "ApplicationIcon.h"
#include "DialogUnits.h"

#include <QLabel>

namespace kestrun {

namespace {
constexpr int kWidth = 183;
constexpr int kHeight = 52;
} // namespace

CAboutInfoDlg::CAboutInfoDlg(const ExtraTextTable& texts, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Kestrun"));
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.X(kWidth), units.Y(kHeight));

    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    icon->move(units.X(13), units.Y(15));
    icon->adjustSize();

    auto* name = new QLabel(QStringLiteral("Kestrun V2.16"), this);
    name->setGeometry(units.ToPixels(42, 13, 80, 8));
    auto* notice = new QLabel(QString::fromStdU16String(texts.Text(ExtraText::AboutNotice)), this);
    notice->setObjectName(QStringLiteral("notice"));
    notice->setGeometry(units.ToPixels(42, 27, 119, 8));
}

} // namespace kestrun

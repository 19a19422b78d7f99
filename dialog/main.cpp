#include "IpEditDlg.h"
#include "LibraryApi.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrun"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.2.18"));
    kestrun::CIpEditDlg dialog(kestrun::RealLibraryApi());
    dialog.exec();
    return 0;
}

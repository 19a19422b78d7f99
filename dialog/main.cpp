#include "IpEditDlg.h"
#include "LibraryApi.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    kestrun::CIpEditDlg dialog(kestrun::RealLibraryApi());
    dialog.exec();
    return 0;
}

#include "IpEditDlg.h"
#include "LibraryApi.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrun"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.2.18"));
    // --help and --version print and exit here, before the dialog starts the library's search.
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Finds IP cameras and similar devices on the local networks and changes "
                       "their network settings."));
    options.addHelpOption();
    options.addVersionOption();
    options.process(application);
    kestrun::CIpEditDlg dialog(kestrun::RealLibraryApi());
    dialog.exec();
    return 0;
}

#include "IpEditDlg.h"
#include "LibraryApi.h"
#include "NetworkWsdScan.h"
#include "ProgramOptions.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    // Answered before the application connects to a display, so that scripts and headless hosts
    // can ask; and before the dialog starts the library's search.
    if (const auto answer =
            kestrun::EarlyAnswer(std::vector<std::string>(argv, argv + argc), KESTRUN_VERSION)) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrun"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRUN_VERSION));
    kestrun::CIpEditDlg dialog(kestrun::RealLibraryApi(), kestrun::MakeNetworkWsdScan());
    dialog.exec();
    return 0;
}

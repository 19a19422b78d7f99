// Kestrun's device list at the size of a large site: how long a search takes to fill the list
// and a heading click to sort it, again with every row selected, with the fake library (no
// socket) on Qt's offscreen platform.
#include "IpEditDlg.h"
#include "LargeSite.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <ctime>

namespace {

using kestrun::test::FakeLibrary;

double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

template <typename Widget> Widget* Find(const QWidget& dialog, const char* name) {
    return dialog.findChild<Widget*>(QString::fromLatin1(name));
}

void WaitForSearch(const QWidget& dialog) {
    auto* button = Find<QPushButton>(dialog, "searchButton");
    auto* progress = Find<QLabel>(dialog, "progressLabel");
    while (!button->isEnabled() || progress->isVisible()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
}

kestrun::bench::ListFigures Measure(int count) {
    FakeLibrary fake;
    fake.localAddresses = {"10.0.0.254"};
    fake.devices = kestrun::bench::LargeSite(count);
    kestrun::CIpEditDlg dialog(fake.Api());
    dialog.show();
    WaitForSearch(dialog);

    kestrun::bench::ListFigures figures;
    // The search itself returns at once; what is left is listing the devices and painting.
    QElapsedTimer wall;
    double cpu = CpuSeconds();
    wall.start();
    Find<QPushButton>(dialog, "searchButton")->click();
    WaitForSearch(dialog);
    dialog.repaint();
    figures.fillWall = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    figures.fillCpu = CpuSeconds() - cpu;

    auto* list = Find<QTreeView>(dialog, "deviceList");
    QHeaderView* header = list->header();
    const QPoint nameHeading(header->sectionViewportPosition(1) + header->sectionSize(1) / 2,
                             header->height() / 2);
    const auto sort = [&](double& sortWall, double& sortCpu) {
        cpu = CpuSeconds();
        wall.restart();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, nameHeading);
        dialog.repaint();
        sortWall = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        sortCpu = CpuSeconds() - cpu;
    };
    sort(figures.sortWall, figures.sortCpu);
    // Ctrl+A, the focus mark on the first row.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    sort(figures.selectedSortWall, figures.selectedSortCpu);
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    kestrun::bench::PrintListFigures(Measure);
    return 0;
}

#include "DialogDriver.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace kestrun::test {

DialogDriver::DialogDriver(const LibraryApi& api) : m_Dialog(std::make_unique<CIpEditDlg>(api)) {
    m_Dialog->show();
    // Every test works on the list of the first search; none can go on without it.
    if (!WaitForSearch()) {
        qFatal("the dialog's first search did not finish");
    }
}

QWidget* DialogDriver::FindWidget(const char* name) const {
    QWidget* widget = m_Dialog->findChild<QWidget*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        qFatal("no control %s", name);
    }
    return widget;
}

bool DialogDriver::WaitForSearch(int timeoutMs) const {
    return QTest::qWaitFor(
        [this] {
            return Find<QPushButton>("searchButton")->isEnabled() &&
                   !Find<QLabel>("progressLabel")->isVisible();
        },
        timeoutMs);
}

bool DialogDriver::Search() {
    Find<QPushButton>("searchButton")->click();
    return WaitForSearch();
}

void DialogDriver::ClickRow(int row, Qt::KeyboardModifiers modifiers) {
    auto* list = Find<QTreeWidget>("deviceList");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(list->topLevelItem(row)).center());
}

void DialogDriver::DoubleClickRow(int row) {
    auto* list = Find<QTreeWidget>("deviceList");
    const QPoint centre = list->visualItemRect(list->topLevelItem(row)).center();
    // A double click follows the click of its first press, as with a real mouse.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

void DialogDriver::ClickHeading(int column) {
    auto* header = Find<QTreeWidget>("deviceList")->header();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

int DialogDriver::RowNamed(const QString& name) const {
    const QList<QStringList> rows = Rows();
    for (int row = 0; row < rows.size(); ++row) {
        if (rows[row][0] == name) {
            return row;
        }
    }
    return -1;
}

QList<QStringList> DialogDriver::Rows() const {
    auto* list = Find<QTreeWidget>("deviceList");
    QList<QStringList> rows;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        rows << QStringList{list->topLevelItem(row)->text(1), list->topLevelItem(row)->text(2)};
    }
    return rows;
}

MessageCatcher::MessageCatcher() {
    // Polled: a modal box runs its own event loop, in which the timer still fires.
    connect(&m_Poll, &QTimer::timeout, this, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            texts << box->text();
            box->accept();
        }
    });
    m_Poll.start(10);
}

UrlCatcher::UrlCatcher() {
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open");
}

UrlCatcher::~UrlCatcher() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
}

} // namespace kestrun::test

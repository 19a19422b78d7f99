#include "DialogDriver.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace kestrun::test {

DialogDriver::DialogDriver(const LibraryApi& api, std::unique_ptr<WsdScan> wsdScan)
    : m_Dialog(std::make_unique<CIpEditDlg>(api, std::move(wsdScan))) {
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

QPoint DialogDriver::RowCentre(int row) const {
    auto* list = Find<QTreeView>("deviceList");
    return list->visualRect(list->model()->index(row, 1)).center();
}

void DialogDriver::ClickRow(int row, Qt::KeyboardModifiers modifiers) {
    QTest::mouseClick(Find<QTreeView>("deviceList")->viewport(), Qt::LeftButton, modifiers,
                      RowCentre(row));
}

void DialogDriver::DoubleClickRow(int row) {
    auto* list = Find<QTreeView>("deviceList");
    const QPoint centre = RowCentre(row);
    // A double click follows the click of its first press, as with a real mouse.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

void DialogDriver::ClickHeading(int column) {
    auto* header = Find<QTreeView>("deviceList")->header();
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
    QList<QStringList> rows;
    for (int row = 0; row < RowCount(); ++row) {
        rows << QStringList{Cell(row, 1), Cell(row, 2)};
    }
    return rows;
}

int DialogDriver::RowCount() const {
    return Find<QTreeView>("deviceList")->model()->rowCount();
}

QVariant DialogDriver::CellData(int row, int column, int role) const {
    const QAbstractItemModel* model = Find<QTreeView>("deviceList")->model();
    return model->data(model->index(row, column), role);
}

QString DialogDriver::Cell(int row, int column) const {
    return CellData(row, column, Qt::DisplayRole).toString();
}

int DialogDriver::CurrentRow() const {
    return Find<QTreeView>("deviceList")->currentIndex().row();
}

int DialogDriver::SelectedRowCount() const {
    return static_cast<int>(Find<QTreeView>("deviceList")->selectionModel()->selectedRows().size());
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

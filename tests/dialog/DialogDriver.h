#pragma once

#include "IpEditDlg.h"

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace kestrun::test {

// Opens the main window on a library table and works its controls as a user would.
class DialogDriver {
public:
    // Shows the dialog and waits for its first search to finish.
    explicit DialogDriver(const LibraryApi& api, std::unique_ptr<WsdScan> wsdScan = nullptr);

    CIpEditDlg& Dialog() { return *m_Dialog; }

    // The control with this object name; aborts the test program when there is none.
    template <typename Widget> Widget* Find(const char* name) const {
        return static_cast<Widget*>(FindWidget(name));
    }

    // Waits until no search runs any more. False when it still ran after `timeoutMs`.
    bool WaitForSearch(int timeoutMs = 30000) const;
    // Presses the search button and waits for the search to finish.
    bool Search();

    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {});
    void DoubleClickRow(int row);
    void ClickHeading(int column);
    // The row whose name cell is `name`, -1 when none is.
    int RowNamed(const QString& name) const;
    // The name and address cells of every row, top to bottom.
    QList<QStringList> Rows() const;
    int RowCount() const;
    QString Cell(int row, int column) const;
    QVariant CellData(int row, int column, int role) const;
    // The row with the keyboard focus mark, -1 when none has it.
    int CurrentRow() const;
    int SelectedRowCount() const;
    // Where a click on `row` lands, in the list's viewport.
    QPoint RowCentre(int row) const;

private:
    QWidget* FindWidget(const char* name) const;

    std::unique_ptr<CIpEditDlg> m_Dialog;
};

// Closes every message box the dialog shows while it lives, keeping their texts.
class MessageCatcher : public QObject {
public:
    MessageCatcher();
    QStringList texts;

private:
    QTimer m_Poll;
};

// Receives the addresses the dialog asks the desktop to open, so that no browser starts.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher();
    ~UrlCatcher() override;
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

} // namespace kestrun::test

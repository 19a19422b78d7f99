#pragma once

#include "DeviceList.h"
#include "KeyedFindings.h"
#include "RowFindings.h"
#include "UiTextTable.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <functional>
#include <vector>

namespace kestrun {

// The device list as the view shows it: the rows of a DeviceList in its own order, each with the
// site checks' findings for its device (a tool tip, and a colour and an icon for an error). The
// view only asks for what it paints, so a site of any size costs one fill and one sort.
class DeviceListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    DeviceListModel(const DeviceList& rows, const UiTextTable& texts, QIcon errorIcon,
                    QObject* parent);

    // The rows changed wholesale (a search or a sort). `findings` are in the row order the
    // list had when they were found; they follow their devices through later sorts.
    void ShowRows(const std::vector<RowFinding>& findings);
    // Runs `reorder`, which sorts the rows (the list's own sort of a heading click). Each row
    // keeps its findings, and the selection and the focus mark stay on their devices.
    void Reorder(const std::function<void()>& reorder);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const RowFinding* FindingOf(int row) const;

    const DeviceList& m_Rows;
    const UiTextTable& m_Texts;
    const QIcon m_ErrorIcon;
    KeyedFindings m_Findings;
};

} // namespace kestrun

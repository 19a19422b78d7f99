#include "DeviceListModel.h"

#include "RowsThroughSort.h"

#include <QColor>

#include <utility>

namespace kestrun {

DeviceListModel::DeviceListModel(const DeviceList& rows, const UiTextTable& texts, QIcon errorIcon,
                                 QObject* parent)
    : QAbstractTableModel(parent), m_Rows(rows), m_Texts(texts), m_ErrorIcon(std::move(errorIcon)) {
}

void DeviceListModel::ShowRows(const std::vector<RowFinding>& findings) {
    beginResetModel();
    m_Findings.Assign(m_Rows, findings);
    endResetModel();
}

void DeviceListModel::Reorder(const std::function<void()>& reorder) {
    emit layoutAboutToBeChanged();
    // The selection and the focus mark are persistent indexes.
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> rows;
    rows.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    const RowsThroughSort carried(m_Rows, rows);
    reorder();
    const std::vector<std::size_t> places = carried.Places(m_Rows);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.push_back(
            index(static_cast<int>(places[static_cast<std::size_t>(i)]), before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

int DeviceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_Rows.Rows().size());
}

int DeviceListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : DeviceList::kColumnCount;
}

const RowFinding* DeviceListModel::FindingOf(int row) const {
    return m_Findings.Of(m_Rows, static_cast<std::size_t>(row));
}

QVariant DeviceListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) {
        return QString::fromStdU16String(
            m_Rows.Rows()[row][static_cast<std::size_t>(index.column())]);
    }
    const RowFinding* finding = FindingOf(index.row());
    if (finding == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::ToolTipRole:
        // Device names come from the network: escaped, so that they never render as markup.
        return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>")
            .arg(QString::fromStdU16String(finding->text).toHtmlEscaped());
    // A light red with black text stays readable, and the icon marks the row for people who
    // cannot tell the colour apart, also while the row is selected.
    case Qt::DecorationRole:
        return finding->error && index.column() == 1 ? QVariant(m_ErrorIcon) : QVariant();
    case Qt::BackgroundRole:
        return finding->error ? QVariant(QColor(255, 214, 214)) : QVariant();
    case Qt::ForegroundRole:
        return finding->error ? QVariant(QColor(Qt::black)) : QVariant();
    default:
        return {};
    }
}

QVariant DeviceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case 1:
        return QString::fromStdU16String(m_Texts.Text(UiText::ServerName));
    case 2:
        return QString::fromStdU16String(m_Texts.Text(UiText::IpAddress));
    default:
        return QString();
    }
}

} // namespace kestrun

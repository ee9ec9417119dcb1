#include "app/results/FigureTable.h"

namespace tavimor {

TFigureTable::TFigureTable(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void TFigureTable::SetTable(QStringList headers, std::vector<TFigureRow> rows)
{
    beginResetModel();
    headers_ = std::move(headers);
    rows_ = std::move(rows);
    endResetModel();
}

int TFigureTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TFigureTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant TFigureTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const TFigureRow& row = rows_[static_cast<std::size_t>(index.row())];
    if (static_cast<std::size_t>(index.column()) >= row.size())
        return {};
    const TFigureCell& cell = row[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return cell.Text;
    case kSortRole:
        return cell.SortKey.isValid() ? cell.SortKey : QVariant(cell.Text);
    case Qt::ToolTipRole:
        return cell.ToolTip.isEmpty() ? QVariant() : QVariant(cell.ToolTip);
    case Qt::TextAlignmentRole:
        // Figures to the right, where their units line up; what the rows are
        // (the first column) and words to the left.
        return static_cast<int>(Qt::AlignVCenter
            | (index.column() == 0 || !cell.SortKey.isValid() || cell.SortKey.typeId() == QMetaType::QString
                    ? Qt::AlignLeft
                    : Qt::AlignRight));
    default:
        return {};
    }
}

QVariant TFigureTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section >= 0 && section < headers_.size() ? QVariant(headers_[section]) : QVariant();
}

} // namespace tavimor

// A read-only table of figures for the results window: each cell the text
// it shows and the value it sorts by, so that "9 min 42 s" sorts as a time
// and "—" (no value) before every figure.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace tavimor {

// A cell of a figure column that sorts by a number is aligned to the right,
// a text to the left.
struct TFigureCell {
    QString Text;
    QVariant SortKey; // the text itself when invalid
    QString ToolTip;
};

using TFigureRow = std::vector<TFigureCell>;

class TFigureTable : public QAbstractTableModel {
    Q_OBJECT

public:
    // The role a sorting proxy sorts by.
    static constexpr int kSortRole = Qt::UserRole + 1;

    explicit TFigureTable(QObject* parent = nullptr);

    void SetTable(QStringList headers, std::vector<TFigureRow> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList headers_;
    std::vector<TFigureRow> rows_;
};

} // namespace tavimor

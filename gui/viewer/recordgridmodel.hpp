// The record grid: a read-only view over the loaded rows, formatted on demand.
#pragma once

#include <QAbstractTableModel>

#include "data/recording.hpp"

namespace ondavia::gui {

class RecordGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit RecordGridModel(QObject* parent = nullptr);

    // Shows the rows of rec (kept by the caller for as long as it is shown);
    // nullptr empties the grid.
    void SetRecording(const Recording* rec);
    const Recording* recording() const { return rec_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text a cell shows, in the column's display format.
    static QString CellText(const GridRow& row, int column);
    static Qt::Alignment CellAlignment(int column);
    static int ColumnWidth(int column);

  private:
    const Recording* rec_ = nullptr;
};

// "#,##0" style grouping of an integer.
QString GroupDigits(long long value);

}  // namespace ondavia::gui

#include "recordgridmodel.hpp"

#include "common/cp949.hpp"
#include "common/text.hpp"
#include "data/gridformat.hpp"

namespace ondavia::gui {

QString GroupDigits(long long value) { return QString::fromStdString(FormatThousands(value)); }

RecordGridModel::RecordGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordGridModel::SetRecording(const Recording* rec) {
    beginResetModel();
    rec_ = rec;
    endResetModel();
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !rec_ ? 0 : static_cast<int>(rec_->rows.size());
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridColumnCount;
}

QString RecordGridModel::CellText(const GridRow& r, int column) {
    char buf[kGridCellCapacity];
    const size_t n = WriteGridCellText(r, column, buf);
    if (GridColumnTraitsOf(column).kind == GridCellKind::FileText)
        return QString::fromStdString(Cp949ToUtf8(std::string_view(buf, n)));
    return QString::fromLatin1(buf, static_cast<qsizetype>(n));
}

Qt::Alignment RecordGridModel::CellAlignment(int column) {
    return GridColumnTraitsOf(column).align == GridAlign::Right ? Qt::AlignRight | Qt::AlignVCenter
                                                                : Qt::AlignCenter;
}

int RecordGridModel::ColumnWidth(int column) { return GridColumnTraitsOf(column).width; }

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (!rec_ || !index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole)
        return CellText(rec_->rows[static_cast<size_t>(index.row())], index.column());
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(CellAlignment(index.column()));
    return {};
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kGridColumnCount)
        return QString::fromUtf8(kGridCaptions[section]);
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (orientation == Qt::Vertical && role == Qt::DisplayRole) return QString();
    return {};
}

}  // namespace ondavia::gui

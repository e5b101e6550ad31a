// Paints grid cells with the narrow margins of the fixed column widths, so a
// seven-digit grouped number fits its 66-pixel column.
#pragma once

#include <QStyledItemDelegate>

namespace ondavia::gui {

class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace ondavia::gui

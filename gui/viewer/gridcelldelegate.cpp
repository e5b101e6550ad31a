#include "gridcelldelegate.hpp"

#include <QApplication>
#include <QPainter>

namespace ondavia::gui {

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const bool selected = opt.state & QStyle::State_Selected;
    painter->save();
    painter->setPen(selected ? QColor(Qt::white) : opt.palette.color(QPalette::Text));
    painter->setFont(opt.font);
    const QRect area = opt.rect.adjusted(1, 0, -1, 0);
    painter->drawText(area, static_cast<int>(opt.displayAlignment),
                      opt.fontMetrics.elidedText(text, Qt::ElideRight, area.width()));
    painter->restore();
}

}  // namespace ondavia::gui

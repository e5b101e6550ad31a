#include "viewer/widgets.hpp"

#include <QPalette>

namespace ondavia::gui {

QLabel* ValueLabel(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, QColor(0, 0, 128));
    l->setPalette(p);
    return l;
}

QFrame* Bevel(QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::VLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

}  // namespace ondavia::gui

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

QLabel* HintLabel(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QStringLiteral("LblChartHint"));
    l->setTextFormat(Qt::PlainText);
    l->setFixedSize(220, 60);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Box);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, QColor(255, 255, 225));
    l->setPalette(p);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->hide();
    return l;
}

}  // namespace ondavia::gui

// Small widget helpers the viewer's panels share.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QString>

namespace ondavia::gui {

inline constexpr const char* kEmptyNote = "< 화면에 출력할 파일이 없습니다. >";

// Gives a widget its form name, so tests and styles find it by that name.
template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A sunken white label with navy text, for values shown read-only. Its text
// is always plain: values come from data files and settings.
QLabel* ValueLabel(QWidget* parent);
QFrame* Bevel(QWidget* parent);
// The chart's pointer hint: 220 x 60, pale yellow, centred plain text, hidden,
// and never in the way of the mouse over the chart below it.
QLabel* HintLabel(QWidget* parent);

}  // namespace ondavia::gui

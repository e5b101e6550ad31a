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

}  // namespace ondavia::gui

// Finds a window's component by its form name, as a person finds it by
// its place: tests reach widgets through their names, not through members.
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace ondavia::test {

template <typename T>
T* Child(const QObject& root, const char* name) {
    T* child = root.findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no component named %s", name);
    return child;
}

template <typename T>
T* Child(const QObject* root, const char* name) {
    return Child<T>(*root, name);
}

}  // namespace ondavia::test

#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// A window's control found by its object name, as screen readers and the
// operator's scripts find it; a missing control stops the test at once.
template <typename Control> Control* controlOf(const QObject& window, const char* name) {
    auto* found = window.findChild<Control*>(QLatin1String(name));
    if (!found)
        qFatal("control %s missing", name);
    return found;
}

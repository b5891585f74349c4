#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

// Types a text into a widget one key press at a time, as a keyboard would
// deliver it. Unlike QTest::keyClicks it takes any character, also outside
// Latin-1; a character outside the basic plane arrives as one key press.
inline void digitaTesto(QWidget* widget, const QString& testo) {
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const qsizetype lunghezza = testo.at(i).isHighSurrogate() && i + 1 < testo.size() ? 2 : 1;
        const QString carattere = testo.mid(i, lunghezza);
        i += lunghezza - 1;
        QKeyEvent premuto(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, carattere);
        QCoreApplication::sendEvent(widget, &premuto);
        QKeyEvent rilasciato(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, carattere);
        QCoreApplication::sendEvent(widget, &rilasciato);
    }
}

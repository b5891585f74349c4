#include "EditorBench.h"

#include "core/Variabili.h"
#include "ui/editor/EditaMessaggi.h"
#include "ui/save/FormSalvaFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int fileLines = 512;
constexpr int textLines = 10000;
constexpr int openings = 10;
constexpr int keysPerPlace = 100;

double msSince(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e6;
}

void printTimes(const char* name, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    double total = 0;
    for (const double t : times)
        total += t;
    std::printf("  %-44s n %4zu  median %7.3f ms  mean %7.3f ms  max %7.3f ms\n", name,
                times.size(), times[times.size() / 2], total / double(times.size()), times.back());
    std::fflush(stdout);
}

// A key typed by the operator, and everything it sets off up to the repaint.
double typeKey(QWidget* area, int key, const QString& text) {
    QElapsedTimer clock;
    clock.start();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(area, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(area, &release);
    QCoreApplication::processEvents();
    return msSince(clock);
}

QByteArray messageLine(int line) {
    return QByteArray::number(line % 512).rightJustified(3, '0') + "TESTO " +
           QByteArray::number(line).leftJustified(10, '.') + "*";
}

// A message file as reading all texts writes it, with lines message lines.
QString writeFile(const QTemporaryDir& folder, int lines) {
    const QString path = folder.filePath(QStringLiteral("righe%1.tvo").arg(lines));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("Letti dal TARVO\r\n");
    for (int line = 0; line < lines; ++line)
        file.write(messageLine(line) + "\r\n");
    file.write("\r\nend\r\n");
    return path;
}

void benchOpening(const QString& path) {
    Variabili v;
    v.FileSelezionato = QFile::encodeName(path);
    std::vector<double> loads;
    std::vector<double> shown;
    for (int i = 0; i < openings; ++i) {
        QElapsedTimer clock;
        clock.start();
        EditaMessaggi editor(v, saveWindowOpener(v));
        loads.push_back(msSince(clock));
        editor.show();
        QCoreApplication::processEvents();
        shown.push_back(msSince(clock));
    }
    std::printf("editor: opening a file of %d message lines\n", fileLines);
    printTimes("load (read, judge, colour)", loads);
    printTimes("load and first showing", shown);
}

std::vector<double> typeAndErase(QPlainTextEdit& area, int line) {
    QTextCursor cursor(area.document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 8);
    area.setTextCursor(cursor);
    QCoreApplication::processEvents();
    std::vector<double> times;
    for (int i = 0; i < keysPerPlace; ++i)
        times.push_back(typeKey(&area, Qt::Key_X, QStringLiteral("x")));
    for (int i = 0; i < keysPerPlace; ++i)
        times.push_back(typeKey(&area, Qt::Key_Backspace, QString()));
    return times;
}

void benchTyping(const QString& path) {
    Variabili v;
    v.FileSelezionato = QFile::encodeName(path);
    QElapsedTimer clock;
    clock.start();
    EditaMessaggi editor(v, saveWindowOpener(v));
    editor.show();
    QCoreApplication::processEvents();
    std::printf("editor: typing in a text of %d lines (opened in %.1f ms)\n", textLines,
                msSince(clock));
    auto* text = editor.findChild<MessageTextArea*>(QStringLiteral("Text1"));

    for (const int line : {0, textLines / 2, textLines - 1})
        printTimes(
            qPrintable(QStringLiteral("text field of line %1, type and erase").arg(line + 1)),
            typeAndErase(*text, line));

    // Keys that change what programming does with the lines that follow: a
    // new line (every later line moves), and a terminator at the top that
    // comes and goes (every later line is read, then never read).
    const auto placeAt = [&](int line) {
        text->setTextCursor(QTextCursor(text->document()->findBlockByNumber(line)));
        QCoreApplication::processEvents();
    };
    std::vector<double> returns;
    placeAt(textLines / 2);
    for (int i = 0; i < keysPerPlace; ++i) {
        returns.push_back(typeKey(text, Qt::Key_Return, QStringLiteral("\r")));
        returns.push_back(typeKey(text, Qt::Key_Backspace, QString()));
    }
    printTimes("new line in the middle, and erase it", returns);

    std::vector<double> terminators;
    placeAt(0);
    for (int i = 0; i < keysPerPlace / 4; ++i) {
        for (const char* key : {"e", "n", "d"})
            terminators.push_back(typeKey(text, Qt::Key_unknown, QString::fromLatin1(key)));
        for (int k = 0; k < 3; ++k)
            terminators.push_back(typeKey(text, Qt::Key_Backspace, QString()));
    }
    printTimes("\"end\" typed on line 1, and erased", terminators);

    // The same keys in a bare text area holding the same text, for comparison.
    QPlainTextEdit bare;
    bare.setFont(text->font());
    bare.resize(text->size());
    bare.setPlainText(text->toPlainText());
    bare.show();
    QCoreApplication::processEvents();
    printTimes("bare text area: line 5001, type and erase", typeAndErase(bare, textLines / 2));
}

} // namespace

void benchEditor() {
    const QTemporaryDir folder;
    benchOpening(writeFile(folder, fileLines));
    benchTyping(writeFile(folder, textLines));
}

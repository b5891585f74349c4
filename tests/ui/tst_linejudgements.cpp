#include "core/Windows1252.h"
#include "files/LeggiFileDaProgrammare.h"
#include "files/ScriviFileMessaggi.h"
#include "ui/editor/LineJudgements.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QByteArrayList readAll(const QString& path) {
    QByteArrayList records;
    LeggiFileDaProgrammare reader(path);
    while (const auto record = reader.next())
        records += record->record;
    return records;
}

// The records the judgements say programming sends, from the lines before limit.
QByteArrayList predicted(const QTextDocument& document, const LineJudgements& judgements,
                         int limit) {
    QByteArrayList records;
    for (int i = 0; i < limit; ++i) {
        const EditorLine& line = judgements.line(i);
        if (line.programming.kind == ProgrammingLineKind::Message &&
            !judgements.run().line(i).fromTerminatorOn)
            records += messageRecord(
                savedBytes(document.findBlockByNumber(i).text(), RecordLayout::recordLength));
    }
    return records;
}

// The text after a file's first line, which ends at CR LF, LF or CR.
QString body(const QString& file) {
    const qsizetype end = file.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (end < 0)
        return {};
    return file.mid(end + (file.mid(end, 2) == QStringLiteral("\r\n") ? 2 : 1));
}

// Every line's judgement and the run's counts, to compare two judgements.
QStringList summary(const LineJudgements& judgements) {
    QStringList lines;
    const ProgrammingRun& run = judgements.run();
    for (int i = 0; i < judgements.lineCount(); ++i) {
        const EditorLine& line = judgements.line(i);
        lines += QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(int(line.programming.kind))
                     .arg(line.programming.address)
                     .arg(line.unsavableColumn)
                     .arg(line.tabColumn)
                     .arg(run.line(i).duplicateOf)
                     .arg(run.line(i).fromTerminatorOn);
    }
    lines += QStringLiteral("%1 %2 %3 %4 %5 %6")
                 .arg(run.sent())
                 .arg(run.passedOver())
                 .arg(run.neverRead())
                 .arg(run.terminator())
                 .arg(judgements.duplicates())
                 .arg(judgements.unsavableLines());
    return lines;
}

} // namespace

class TestLineJudgements : public QObject {
    Q_OBJECT

  private slots:
    void agreeWithTheReader_data();
    void agreeWithTheReader();
    void editsKeepTheJudgementWhole();

  private:
    QTemporaryDir m_folder;
};

void TestLineJudgements::agreeWithTheReader_data() {
    QTest::addColumn<QString>("path");
    const QDir corpus(QFINDTESTDATA("../../fuzz/corpus"));
    const QStringList files = corpus.entryList({QStringLiteral("*.tvo")}, QDir::Files);
    QVERIFY(files.size() >= 5);
    for (const QString& name : files)
        QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    const QByteArray tricky =
        "c\r\n000A\r\n12 CORTO\r\n000B\r\n600C\r\n---\r\n\r\nEnd\r\n511\tT\r\n007\r\n"
        "5\r\n   \r\n-12\r\n001" +
        QByteArray(40, 'x') + "\r\nendless\r\n002DOPO\r\nEND\r\n003";
    for (const QByteArray& content : {tricky, QByteArray("c\n000A\r\r\n001B\n\rend\r003\n")}) {
        const QString path = m_folder.filePath(QStringLiteral("tricky%1.tvo").arg(content.size()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
    }
}

// The file's body in a document, judged line by line: the lines before the
// file's last one give the records that the reader yields from the file; all
// lines give those that it yields from the file that saving the text writes.
void TestLineJudgements::agreeWithTheReader() {
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = body(Windows1252::decode(file.readAll()));

    QTextDocument document;
    document.setPlainText(text);
    const LineJudgements judgements(document);
    // The empty position after a final line end is no line.
    QCOMPARE(judgements.lineCount(),
             document.blockCount() - (document.lastBlock().text().isEmpty() ? 1 : 0));
    const bool endsWithLineEnd = text.endsWith(u'\n') || text.endsWith(u'\r');
    const int lastLine = document.blockCount() - (endsWithLineEnd ? 2 : 1);
    QCOMPARE(predicted(document, judgements, qBound(0, lastLine, judgements.lineCount())),
             readAll(path));

    QByteArrayList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines += Windows1252::encode(block.text()).value();
    const QString saved = m_folder.filePath(QStringLiteral("saved.tvo"));
    QCOMPARE(ScriviFileMessaggi(saved, "c", lines.join("\r\n")).error, QString());
    const QByteArrayList records = readAll(saved);
    QCOMPARE(predicted(document, judgements, judgements.lineCount()), records);
    QCOMPARE(judgements.run().sent(), records.size());
}

// Random edits, each judged only where it touched, leave the same judgement
// as judging the whole text afresh.
void TestLineJudgements::editsKeepTheJudgementWhole() {
    QTextDocument document;
    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines += QStringLiteral("%1TESTO").arg(i % 25, 3, 10, QLatin1Char('0'));
    document.setPlainText(lines.join(u'\n'));
    LineJudgements judgements(document);
    const QStringList pieces{"end", "\n", "0", "1", "x", "---", "\n\n", "600", "\t", "Ł", "END\n7"};
    QRandomGenerator random(14);
    for (int step = 0; step < 400; ++step) {
        QTextCursor cursor(&document);
        cursor.setPosition(random.bounded(document.characterCount()));
        if (random.bounded(3) == 0)
            cursor.setPosition(
                qMin(cursor.position() + random.bounded(12), document.characterCount() - 1),
                QTextCursor::KeepAnchor);
        if (random.bounded(4) == 0)
            cursor.removeSelectedText();
        else
            cursor.insertText(pieces.at(random.bounded(pieces.size())));

        QTextDocument fresh;
        fresh.setPlainText(document.toPlainText());
        const LineJudgements afresh(fresh);
        QCOMPARE(summary(judgements), summary(afresh));
    }
}

QTEST_MAIN(TestLineJudgements)
#include "tst_linejudgements.moc"

#include "files/LeggiFileDaEditare.h"
#include "files/LeggiFileDaProgrammare.h"
#include "files/LocalFileName.h"
#include "files/ScriviFileMessaggi.h"

#include "AsUnprivilegedUser.h"
#include "FileSizeLimit.h"
#include "TempFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

#include <sys/stat.h>

namespace {

// A body as reading all texts gives it: 512 lines, 12 kB.
QByteArray bodyOf512Lines() {
    QByteArray body;
    for (int i = 0; i < 512; ++i)
        body += QByteArray::number(i).rightJustified(3, '0') + "TESTO NUOVO     *\r\n";
    return body;
}

} // namespace

class TestScriviFileMessaggi : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void content_data();
    void content();
    void replacesExistingFile();
    void roundTripKeepsBytes();
    void replacesAFileWhoseNameIsNotUtf8();
    void errors_data();
    void errors();
    void multiLineComment_data();
    void multiLineComment();
    void errorHalfwayThroughWriting();
    void readOnlyFolder_data();
    void readOnlyFolder();

  private:
    QStringList entries() const;

    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestScriviFileMessaggi::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

QStringList TestScriviFileMessaggi::entries() const {
    return QDir(m_folder->path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

void TestScriviFileMessaggi::content_data() {
    QTest::addColumn<QByteArray>("comment");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("expectedValue");

    QTest::newRow("corpo vuoto") << QByteArray("Commento") << QByteArray()
                                 << QByteArray("Commento\r\n\r\nend\r\n");
    QTest::newRow("commento vuoto")
        << QByteArray() << QByteArray("001A\r\n") << QByteArray("\r\n001A\r\n\r\nend\r\n");
    QTest::newRow("corpo letto dal TARVO")
        << QByteArray("Letti") << QByteArray("000UNO            *\r\n001DUE            *\r\n")
        << QByteArray("Letti\r\n000UNO            *\r\n001DUE            *\r\n\r\nend\r\n");
    QTest::newRow("corpo senza CR LF finale")
        << QByteArray("C") << QByteArray("001A") << QByteArray("C\r\n001A\r\nend\r\n");
    QTest::newRow("corpo non controllato") << QByteArray("C") << QByteArray("nota\n---\r\nend\rxyz")
                                           << QByteArray("C\r\nnota\n---\r\nend\rxyz\r\nend\r\n");
    QTest::newRow("byte 128-255 e 0")
        << QByteArray("\xe8\xe0\xf9\x80") << QByteArray("001\xff\x00\xa0\r\n", 8)
        << QByteArray("\xe8\xe0\xf9\x80\r\n001\xff\x00\xa0\r\n\r\nend\r\n", 21);
}

void TestScriviFileMessaggi::content() {
    QFETCH(QByteArray, comment);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, expectedValue);
    const QString path = m_folder->filePath("nuovo.tvo");
    QCOMPARE(ScriviFileMessaggi(path, comment, body).error, QString());
    QCOMPARE(readFile(path), expectedValue);
    QCOMPARE(entries(), QStringList{"nuovo.tvo"});
}

void TestScriviFileMessaggi::replacesExistingFile() {
    const QString path = m_folder->filePath("esistente.TVO");
    writeFileAt(path, QByteArray(10000, 'v'));
    QCOMPARE(ScriviFileMessaggi(path, "Nuovo", "001A\r\n").error, QString());
    QCOMPARE(readFile(path), QByteArray("Nuovo\r\n001A\r\n\r\nend\r\n"));
    QCOMPARE(entries(), QStringList{"esistente.TVO"});
}

void TestScriviFileMessaggi::roundTripKeepsBytes() {
    // Every byte from 128 to 255 in the texts and the comment, read by the
    // editor, written, and read again.
    QByteArray comment = "Commento ";
    QByteArrayList lineList;
    for (int line = 0; line < 8; ++line) {
        QByteArray text;
        for (int i = 0; i < 16; ++i)
            text.append(char(128 + line * 16 + i));
        comment.append(char(255 - line));
        lineList.append(QByteArray::number(line).rightJustified(3, '0') + text + "*nota \xe8");
    }
    const QByteArray body = lineList.join("\r\n") + "\r\n";
    const QString original = m_folder->filePath("originale.tvo");
    writeFileAt(original, comment + "\r\n" + body + "end\r\n");

    const EditorText fromFile = LeggiFileDaEditare(original);
    QCOMPARE(fromFile.comment, std::optional<QByteArray>(comment));
    QCOMPARE(fromFile.text, body);

    const QString copy = m_folder->filePath("copia.tvo");
    QCOMPARE(ScriviFileMessaggi(copy, *fromFile.comment, fromFile.text).error, QString());
    QCOMPARE(readFile(copy), comment + "\r\n" + body + "\r\nend\r\n");

    LeggiFileDaProgrammare fromOriginal(original);
    LeggiFileDaProgrammare fromCopy(copy);
    int records = 0;
    for (auto a = fromOriginal.next(), b = fromCopy.next(); a || b;
         a = fromOriginal.next(), b = fromCopy.next(), ++records)
        QCOMPARE(a, b);
    QCOMPARE(records, 8);
}

// Opened from the list and saved by the editor: the same file, byte-exact
// name, its permissions kept, nothing left beside it.
void TestScriviFileMessaggi::replacesAFileWhoseNameIsNotUtf8() {
    const QByteArray local = QFile::encodeName(m_folder->path()) + "/vecchio\xe8.tvo";
    std::ofstream(local.constData(), std::ios::binary) << "Vecchio\r\n000PRIMA\r\nend\r\n";
    QCOMPARE(::chmod(local.constData(), 0640), 0);
    const QString path = LocalFileName::decode(local);
    QVERIFY(LeggiFileDaEditare(path).text.startsWith("000PRIMA"));
    QCOMPARE(ScriviFileMessaggi(path, "Nuovo", "000DOPO\r\n").error, QString());
    std::ifstream written(local.constData(), std::ios::binary);
    QCOMPARE(std::string(std::istreambuf_iterator<char>(written), {}),
             std::string("Nuovo\r\n000DOPO\r\n\r\nend\r\n"));
    struct stat info {};
    QCOMPARE(::stat(local.constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, 0640u);
    QCOMPARE(entries(), QStringList()); // Qt cannot list that name; nothing else is here
}

void TestScriviFileMessaggi::errors_data() {
    QTest::addColumn<QString>("subPath");
    QTest::addColumn<QString>("reason");

    QTest::newRow("cartella mancante")
        << QStringLiteral("mancante/x.tvo") << QStringLiteral("il file o la cartella non esiste");
    QTest::newRow("cartella che e un file")
        << QStringLiteral("esistente.tvo/x.tvo")
        << QStringLiteral("una parte del percorso non è una cartella");
    QTest::newRow("nome di una cartella")
        << QStringLiteral("cartella.tvo") << QStringLiteral("è una cartella, non un file");
}

void TestScriviFileMessaggi::errors() {
    QFETCH(QString, subPath);
    QFETCH(QString, reason);
    writeFileAt(m_folder->filePath("esistente.tvo"), "vecchio");
    QVERIFY(QDir(m_folder->path()).mkdir("cartella.tvo"));
    const QString path = m_folder->filePath(subPath);
    QCOMPARE(ScriviFileMessaggi(path, "C", "001A\r\n").error,
             QStringLiteral("Impossibile scrivere il file %1: %2")
                 .arg(QDir::toNativeSeparators(path), reason));
    QCOMPARE(readFile(m_folder->filePath("esistente.tvo")), QByteArray("vecchio"));
    QCOMPARE(entries(), (QStringList{"cartella.tvo", "esistente.tvo"}));
    QVERIFY(QDir(m_folder->filePath("cartella.tvo")).isEmpty());
}

void TestScriviFileMessaggi::multiLineComment_data() {
    QTest::addColumn<QByteArray>("comment");
    QTest::newRow("CR LF") << QByteArray("Commento\r\n001FALSO");
    QTest::newRow("LF") << QByteArray("Commento\n001FALSO");
    QTest::newRow("CR") << QByteArray("Commento\r");
}

void TestScriviFileMessaggi::multiLineComment() {
    QFETCH(QByteArray, comment);
    const QString path = m_folder->filePath("esistente.tvo");
    writeFileAt(path, "vecchio");
    QCOMPARE(
        ScriviFileMessaggi(path, comment, "001A\r\n").error,
        QStringLiteral("Impossibile scrivere il file %1: il commento deve stare su una sola riga")
            .arg(QDir::toNativeSeparators(path)));
    QCOMPARE(readFile(path), QByteArray("vecchio"));
}

void TestScriviFileMessaggi::errorHalfwayThroughWriting() {
    // The file system refuses the write after 4 kB: the old file must survive
    // whole, and no partial or temporary file may remain.
    const QString path = m_folder->filePath("esistente.tvo");
    const QByteArray old = "Vecchio\r\n001VECCHIO\r\nend\r\n";
    writeFileAt(path, old);
    const QByteArray body = bodyOf512Lines();
    QString error;
    {
        const FileSizeLimit limit(4096);
        if (!limit.active())
            QSKIP("the file size limit cannot be set here");
        error = ScriviFileMessaggi(path, "Nuovo", body).error;
    }
    QCOMPARE(error, QStringLiteral("Impossibile scrivere il file %1: il file supera la dimensione "
                                   "massima consentita")
                        .arg(QDir::toNativeSeparators(path)));
    QCOMPARE(readFile(path), old);
    QCOMPARE(entries(), QStringList{"esistente.tvo"});
}

void TestScriviFileMessaggi::readOnlyFolder_data() {
    QTest::addColumn<int>("limit");
    QTest::newRow("riscritto sul posto") << 0;
    QTest::newRow("scrittura interrotta") << 4096;
}

void TestScriviFileMessaggi::readOnlyFolder() {
    // A writable file in a folder where no new file can be created (checked as
    // an ordinary user: root creates files anywhere) is rewritten in place; a
    // write that fails there says that the file may be incomplete.
    QFETCH(int, limit);
    const auto all = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther |
                     QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    const auto writable =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    QVERIFY(QFile::setPermissions(m_folder->path(), all | writable));
    const QString readOnly = m_folder->filePath("sola");
    QVERIFY(QDir(m_folder->path()).mkdir("sola"));
    const QString path = readOnly + "/esistente.tvo";
    writeFileAt(path, "vecchio");
    QVERIFY(
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther | writable));
    QVERIFY(QFile::setPermissions(readOnly, all));
    const QByteArray body = bodyOf512Lines();

    const std::optional<QByteArray> outcome = runAsUnprivilegedUser([&] {
        if (QFile(readOnly + "/prova").open(QIODevice::WriteOnly))
            return QByteArray("la cartella accetta file nuovi");
        std::optional<FileSizeLimit> limited;
        if (limit != 0)
            limited.emplace(limit);
        const WriteOutcome written = ScriviFileMessaggi(path, "Nuovo", body);
        return QByteArray(written.writtenInPlace ? "sul posto:" : "altrove:") +
               written.error.toUtf8();
    });
    QVERIFY(QFile::setPermissions(readOnly, all | QFileDevice::WriteOwner));
    QVERIFY(outcome);
    QCOMPARE(entries(), QStringList{"sola"});
    QCOMPARE(QDir(readOnly).entryList(QDir::Files), QStringList{"esistente.tvo"});
    if (limit == 0) {
        QCOMPARE(*outcome, QByteArray("sul posto:"));
        QCOMPARE(readFile(path), "Nuovo\r\n" + body + "\r\nend\r\n");
    } else {
        QCOMPARE(QString::fromUtf8(*outcome),
                 QStringLiteral("sul posto:Impossibile scrivere il file %1: il file supera la "
                                "dimensione massima consentita")
                     .arg(QDir::toNativeSeparators(path)));
    }
}

QTEST_MAIN(TestScriviFileMessaggi)
#include "tst_scrivifilemessaggi.moc"

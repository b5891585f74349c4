#include "files/LettoreRighe.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

// A line as the test expects it: its text and whether it is the file's last.
using RigheAttese = QList<QPair<QByteArray, bool>>;

class TestLettoreRighe : public QObject {
    Q_OBJECT

  private slots:
    void righe_data();
    void righe();
    void fileMancante();
    void erroreDiLettura();

  private:
    QString scrivi(const QByteArray& contenuto);

    QTemporaryDir cartella_;
    int contatore_ = 0;
};

QString TestLettoreRighe::scrivi(const QByteArray& contenuto) {
    const QString percorso = cartella_.filePath(QString::number(++contatore_) + ".tvo");
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly) || file.write(contenuto) != contenuto.size())
        qFatal("cannot write %s", qPrintable(percorso));
    return percorso;
}

void TestLettoreRighe::righe_data() {
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<qsizetype>("massimo");
    QTest::addColumn<RigheAttese>("attese");

    constexpr qsizetype tutto = std::numeric_limits<qsizetype>::max();
    const QByteArray lunga(70000, 'x');
    QTest::newRow("CR LF") << QByteArray("uno\r\ndue\r\n") << tutto
                           << RigheAttese{{"uno", false}, {"due", true}};
    QTest::newRow("LF") << QByteArray("uno\ndue\n") << tutto
                        << RigheAttese{{"uno", false}, {"due", true}};
    QTest::newRow("CR") << QByteArray("uno\rdue\r") << tutto
                        << RigheAttese{{"uno", false}, {"due", true}};
    QTest::newRow("misti") << QByteArray("a\r\nb\nc\rd") << tutto
                           << RigheAttese{{"a", false}, {"b", false}, {"c", false}, {"d", true}};
    QTest::newRow("LF CR sono due fine riga")
        << QByteArray("a\n\rb\r\n") << tutto << RigheAttese{{"a", false}, {"", false}, {"b", true}};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << tutto
                              << RigheAttese{{"a", false}, {"", false}, {"b", true}};
    QTest::newRow("senza fine riga") << QByteArray("uno") << tutto << RigheAttese{{"uno", true}};
    QTest::newRow("solo fine riga") << QByteArray("\r\n") << tutto << RigheAttese{{"", true}};
    QTest::newRow("righe vuote") << QByteArray("\r\n\r\n\r\nx\r\n") << tutto
                                 << RigheAttese{{"", false}, {"", false}, {"", false}, {"x", true}};
    QTest::newRow("riga vuota in fondo")
        << QByteArray("a\r\n\r\n") << tutto << RigheAttese{{"a", false}, {"", true}};
    QTest::newRow("file vuoto") << QByteArray() << tutto << RigheAttese{};
    QTest::newRow("tagliate") << QByteArray("0123456789\r\n01\r\n0123") << qsizetype(3)
                              << RigheAttese{{"012", false}, {"01", false}, {"012", true}};
    QTest::newRow("niente tenuto")
        << QByteArray("abc\r\ndef\r\n") << qsizetype(0) << RigheAttese{{"", false}, {"", true}};
    QTest::newRow("riga lunga") << lunga + "\r\nfine" << tutto
                                << RigheAttese{{lunga, false}, {"fine", true}};
    QTest::newRow("riga lunga tagliata")
        << lunga + "\r\nfine\r\n"
        << qsizetype(69) << RigheAttese{{lunga.left(69), false}, {"fine", true}};
    QTest::newRow("byte 0 e 128-255") << QByteArray("\x00\x80\xe8\xff\r\n", 6) << tutto
                                      << RigheAttese{{QByteArray("\x00\x80\xe8\xff", 4), true}};
}

void TestLettoreRighe::righe() {
    QFETCH(QByteArray, contenuto);
    QFETCH(qsizetype, massimo);
    QFETCH(RigheAttese, attese);
    const QString percorso = scrivi(contenuto);
    // Blocks of several sizes put line ends on both sides of a block boundary,
    // the CR and the LF of one CR LF included.
    for (const qsizetype blocco : {1, 2, 3, 7, 64 * 1024}) {
        LettoreRighe lettore(percorso, blocco);
        QVERIFY(lettore.apri());
        RigheAttese lette;
        while (const auto riga = lettore.leggi(massimo))
            lette.append({riga->testo, riga->ultima});
        QVERIFY2(lette == attese, qPrintable(QStringLiteral("blocchi di %1").arg(blocco)));
        QVERIFY(lettore.errore().isEmpty());
    }
}

void TestLettoreRighe::fileMancante() {
    LettoreRighe lettore(cartella_.filePath("mancante.tvo"));
    QVERIFY(!lettore.apri());
    QVERIFY(!lettore.isOpen());
    QVERIFY2(lettore.errore().contains("mancante.tvo") && lettore.errore().contains("non esiste"),
             qPrintable(lettore.errore()));
    QVERIFY(!lettore.leggi(100));
}

void TestLettoreRighe::erroreDiLettura() {
    // Opening the process's own memory succeeds; reading it at offset 0 fails.
    LettoreRighe lettore(QStringLiteral("/proc/self/mem"));
    if (!lettore.apri())
        QSKIP("/proc/self/mem cannot be opened here");
    QVERIFY(!lettore.leggi(100));
    QVERIFY(!lettore.isOpen());
    QVERIFY2(lettore.errore().startsWith("Errore di lettura del file /proc/self/mem: "),
             qPrintable(lettore.errore()));
}

QTEST_MAIN(TestLettoreRighe)
#include "tst_lettorerighe.moc"

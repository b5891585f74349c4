#include "files/LeggiFileDaProgrammare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

namespace {

// Each line followed by CR LF, as the program writes files.
QByteArray righe(const QByteArrayList& elenco, const QByteArray& fineRiga = "\r\n") {
    QByteArray testo;
    for (const QByteArray& riga : elenco)
        testo += riga + fineRiga;
    return testo;
}

// How many of this process's descriptors are open on the file.
int descrittoriAperti(const QString& percorso) {
    const QString bersaglio = QFileInfo(percorso).canonicalFilePath();
    const QDir cartella(QStringLiteral("/proc/self/fd"));
    int aperti = 0;
    for (const QString& nome : cartella.entryList(QDir::AllEntries | QDir::System))
        aperti += QFile::symLinkTarget(cartella.filePath(nome)) == bersaglio ? 1 : 0;
    return aperti;
}

long piccoDiMemoriaKb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

QByteArrayList leggiTutti(LeggiFileDaProgrammare& lettore) {
    QByteArrayList record;
    while (const auto r = lettore.next())
        record.append(*r);
    return record;
}

} // namespace

class TestLeggiFileDaProgrammare : public QObject {
    Q_OBJECT

  private slots:
    void record_data();
    void record();
    void fileDiLetturaCompleta();
    void apreAllaPrimaRichiesta();
    void chiusoQuandoLaLetturaFinisce_data();
    void chiusoQuandoLaLetturaFinisce();
    void fermataAnticipata();
    void chiusoDalDistruttore();
    void errori_data();
    void errori();
    void permessoNegato();
    void fileGrandeLettoARighe();

  private:
    QString scrivi(const QByteArray& contenuto);

    QTemporaryDir cartella_;
    int contatore_ = 0;
};

QString TestLeggiFileDaProgrammare::scrivi(const QByteArray& contenuto) {
    const QString percorso = cartella_.filePath(QString::number(++contatore_) + ".tvo");
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly) || file.write(contenuto) != contenuto.size())
        qFatal("cannot write %s", qPrintable(percorso));
    return percorso;
}

void TestLeggiFileDaProgrammare::record_data() {
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<QByteArrayList>("attesi");

    const QByteArrayList esempio{"Ingresso magazzino, versione 2",
                                 "000BENVENUTI       *",
                                 "---",
                                 "001PORTA APERTA    controllare il sensore",
                                 "",
                                 "002ALLARME",
                                 "nota: testi provvisori",
                                 "600FUORI RANGE",
                                 "end",
                                 "511DOPO LA FINE"};
    const QByteArrayList esempioAtteso{"000BENVENUTI       ", "001PORTA APERTA    ",
                                       "002ALLARME         "};
    QTest::newRow("esempio") << righe(esempio) << esempioAtteso;
    QTest::newRow("esempio, righe finite da LF") << righe(esempio, "\n") << esempioAtteso;
    QTest::newRow("esempio, righe finite da CR") << righe(esempio, "\r") << esempioAtteso;
    QTest::newRow("esempio, senza fine riga in fondo")
        << righe(esempio).chopped(2) << esempioAtteso;

    QTest::newRow("corpo vuoto") << righe({"Commento", "", "end"}) << QByteArrayList{};
    QTest::newRow("un messaggio senza end") << righe({"C", "005TESTO"}) << QByteArrayList{};
    QTest::newRow("un messaggio senza end ne fine riga")
        << QByteArray("C\r\n005TESTO") << QByteArrayList{};
    QTest::newRow("un messaggio con end")
        << righe({"C", "005TESTO", "end"}) << QByteArrayList{"005TESTO           "};
    QTest::newRow("end senza fine riga")
        << QByteArray("C\r\n005TESTO\r\nend") << QByteArrayList{"005TESTO           "};
    QTest::newRow("ultimo messaggio seguito da riga vuota")
        << righe({"C", "005TESTO", ""}) << QByteArrayList{"005TESTO           "};
    QTest::newRow("senza terminatore l'ultima riga si perde")
        << righe({"C", "001A", "002B", "003C"})
        << QByteArrayList{"001A               ", "002B               "};
    QTest::newRow("una riga") << righe({"000COMMENTO"}) << QByteArrayList{};
    QTest::newRow("una riga senza fine riga") << QByteArray("000COMMENTO") << QByteArrayList{};
    QTest::newRow("commento che sembra un messaggio")
        << righe({"000COMMENTO", "001A", "end"}) << QByteArrayList{"001A               "};

    QTest::newRow("endless termina")
        << righe({"C", "001A", "endless", "002B", "end"}) << QByteArrayList{"001A               "};
    QTest::newRow("END termina") << righe({"C", "001A", "END", "002B", "end"})
                                 << QByteArrayList{"001A               "};
    QTest::newRow("End non termina")
        << righe({"C", "001A", "End", "EnD", "eND", "002B", "end"})
        << QByteArrayList{"001A               ", "002B               "};
    QTest::newRow("en non termina")
        << righe({"C", "en", "001A", "end"}) << QByteArrayList{"001A               "};
    QTest::newRow("end nel testo")
        << righe({"C", "001end", "end"}) << QByteArrayList{"001end             "};

    QTest::newRow("solo indirizzo 007")
        << righe({"C", "007", "end"}) << QByteArrayList{"007                "};
    QTest::newRow("riga di 30 caratteri") << righe({"C", "012ABCDEFGHIJKLMNOPQRSTUVWXYZ0", "end"})
                                          << QByteArrayList{"012ABCDEFGHIJKLMNOP"};
    QTest::newRow("riga di 19 caratteri")
        << righe({"C", "0121234567890123456", "end"}) << QByteArrayList{"0121234567890123456"};
    QTest::newRow("511 e 512") << righe({"C", "512NO", "511SI", "999NO", "000SI", "end"})
                               << QByteArrayList{"511SI              ", "000SI              "};
    QTest::newRow("righe senza indirizzo")
        << righe({"C", "5", "51", "   ", "  5X", "+12X", "-12X", " 12X", "1 2X", "12aX", "---",
                  "---001", "nota", "\xb2\xb3\xb9X", "1.5", "6e2", "end"})
        << QByteArrayList{};
    QTest::newRow("indirizzi ripetuti")
        << righe({"C", "001A", "001B", "end"})
        << QByteArrayList{"001A               ", "001B               "};
    QTest::newRow("byte 128-255 e 0")
        << righe({"\xe8\xe0\xf9", QByteArray("001\x80\xe8\xff\x00Z", 8), "end"})
        << QByteArrayList{QByteArray("001\x80\xe8\xff\x00Z           ", 19)};
    QTest::newRow("fine riga miste")
        << QByteArray("C\n001A\r002B\r\n\n003C\r\nend\n")
        << QByteArrayList{"001A               ", "002B               ", "003C               "};
}

void TestLeggiFileDaProgrammare::record() {
    QFETCH(QByteArray, contenuto);
    QFETCH(QByteArrayList, attesi);
    LeggiFileDaProgrammare lettore(scrivi(contenuto));
    QCOMPARE(leggiTutti(lettore), attesi);
    QCOMPARE(lettore.error(), QString());
    QVERIFY(!lettore.isOpen());
}

void TestLeggiFileDaProgrammare::fileDiLetturaCompleta() {
    // The layout that reading all texts from the unit produces.
    QByteArrayList linee{"Letti dal TARVO"};
    QByteArrayList attesi;
    for (int indirizzo = 0; indirizzo < 512; ++indirizzo) {
        const QByteArray testo = QByteArray("TESTO \xe8 ") + QByteArray::number(indirizzo * 7);
        const QByteArray record =
            QByteArray::number(indirizzo).rightJustified(3, '0') + testo.leftJustified(16, ' ');
        linee.append(record + "*");
        attesi.append(record);
    }
    linee.append("");
    linee.append("end");
    LeggiFileDaProgrammare lettore(scrivi(righe(linee)));
    const QByteArrayList letti = leggiTutti(lettore);
    QCOMPARE(letti.size(), 512);
    QCOMPARE(letti, attesi);
}

void TestLeggiFileDaProgrammare::apreAllaPrimaRichiesta() {
    const QString percorso = scrivi(righe({"C", "001A", "002B", "end"}));
    LeggiFileDaProgrammare lettore(percorso);
    QVERIFY(!lettore.isOpen());
    QCOMPARE(descrittoriAperti(percorso), 0);
    QCOMPARE(lettore.next(), QByteArray("001A               "));
    QVERIFY(lettore.isOpen());
    QCOMPARE(descrittoriAperti(percorso), 1);
}

void TestLeggiFileDaProgrammare::chiusoQuandoLaLetturaFinisce_data() {
    QTest::addColumn<QByteArray>("contenuto");
    QTest::newRow("al terminatore") << righe({"C", "001A", "end", "002B", "003C"});
    QTest::newRow("alla fine del file") << righe({"C", "001A", "002B"});
    QTest::newRow("file di una riga") << righe({"C"});
}

void TestLeggiFileDaProgrammare::chiusoQuandoLaLetturaFinisce() {
    QFETCH(QByteArray, contenuto);
    const QString percorso = scrivi(contenuto);
    LeggiFileDaProgrammare lettore(percorso);
    leggiTutti(lettore);
    QVERIFY(!lettore.isOpen());
    QCOMPARE(descrittoriAperti(percorso), 0);
    QVERIFY(!lettore.next());
}

void TestLeggiFileDaProgrammare::fermataAnticipata() {
    const QString percorso = scrivi(righe({"C", "001A", "002B", "003C", "end"}));
    LeggiFileDaProgrammare lettore(percorso);
    QCOMPARE(lettore.next(), QByteArray("001A               "));
    QCOMPARE(descrittoriAperti(percorso), 1);
    lettore.stop();
    QVERIFY(!lettore.isOpen());
    QCOMPARE(descrittoriAperti(percorso), 0);
    QVERIFY(!lettore.next());
    QVERIFY(!lettore.isOpen());
    QCOMPARE(lettore.error(), QString());

    LeggiFileDaProgrammare maiLetto(percorso);
    maiLetto.stop();
    QVERIFY(!maiLetto.next());
    QCOMPARE(descrittoriAperti(percorso), 0);
}

void TestLeggiFileDaProgrammare::chiusoDalDistruttore() {
    const QString percorso = scrivi(righe({"C", "001A", "002B", "end"}));
    {
        LeggiFileDaProgrammare lettore(percorso);
        QVERIFY(lettore.next());
        QCOMPARE(descrittoriAperti(percorso), 1);
    }
    QCOMPARE(descrittoriAperti(percorso), 0);
}

void TestLeggiFileDaProgrammare::errori_data() {
    QTest::addColumn<QString>("percorso");
    QTest::addColumn<QString>("atteso");

    const QString normale = scrivi("C\r\n");
    QTest::newRow("file mancante")
        << cartella_.filePath("mancante.tvo")
        << QStringLiteral("Impossibile aprire il file %1: il file o la cartella non esiste")
               .arg(QDir::toNativeSeparators(cartella_.filePath("mancante.tvo")));
    QTest::newRow("cartella") << cartella_.path()
                              << QStringLiteral(
                                     "Impossibile aprire il file %1: è una cartella, non un file")
                                     .arg(QDir::toNativeSeparators(cartella_.path()));
    QTest::newRow("percorso dentro un file")
        << normale + "/x.tvo"
        << QStringLiteral(
               "Impossibile aprire il file %1: una parte del percorso non è una cartella")
               .arg(QDir::toNativeSeparators(normale + "/x.tvo"));
    const QString vuoto = scrivi(QByteArray());
    QTest::newRow("file vuoto")
        << vuoto << QStringLiteral("Il file %1 è vuoto").arg(QDir::toNativeSeparators(vuoto));
    QTest::newRow("errore di lettura")
        << QStringLiteral("/proc/self/mem")
        << QStringLiteral(
               "Errore di lettura del file /proc/self/mem: errore del disco o del dispositivo");
}

void TestLeggiFileDaProgrammare::errori() {
    QFETCH(QString, percorso);
    QFETCH(QString, atteso);
    LeggiFileDaProgrammare lettore(percorso);
    QVERIFY(!lettore.next());
    QCOMPARE(lettore.error(), atteso);
    QVERIFY(!lettore.isOpen());
    QVERIFY(!lettore.next());
}

void TestLeggiFileDaProgrammare::permessoNegato() {
    const QString percorso = scrivi(righe({"C", "001A", "end"}));
    QFile::setPermissions(percorso, QFileDevice::Permissions());
    QFile prova(percorso);
    if (prova.open(QIODevice::ReadOnly))
        QSKIP("this user reads files whatever their permissions (root)");
    LeggiFileDaProgrammare lettore(percorso);
    QVERIFY(!lettore.next());
    QCOMPARE(lettore.error(), QStringLiteral("Impossibile aprire il file %1: permesso negato")
                                  .arg(QDir::toNativeSeparators(percorso)));
}

void TestLeggiFileDaProgrammare::fileGrandeLettoARighe() {
    // 64 MB in one line without a line end, then two records: a reader that
    // loaded the file or the line whole would grow by at least that much.
    constexpr qsizetype megabyte = 1024 * 1024;
    const QString percorso = cartella_.filePath("grande.tvo");
    {
        QFile file(percorso);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("C\r\n001");
        const QByteArray blocco(megabyte, 'x');
        for (int i = 0; i < 64; ++i)
            QCOMPARE(file.write(blocco), megabyte);
        file.write("\r\n002B\r\nend\r\n");
    }
    const long primaKb = piccoDiMemoriaKb();
    LeggiFileDaProgrammare lettore(percorso);
    QCOMPARE(leggiTutti(lettore), (QByteArrayList{"001xxxxxxxxxxxxxxxx", "002B               "}));
    const long crescitaKb = piccoDiMemoriaKb() - primaKb;
    QVERIFY2(crescitaKb < 16 * 1024, qPrintable(QStringLiteral("%1 kB").arg(crescitaKb)));
    QFile::remove(percorso);
}

QTEST_MAIN(TestLeggiFileDaProgrammare)
#include "tst_leggifiledaprogrammare.moc"

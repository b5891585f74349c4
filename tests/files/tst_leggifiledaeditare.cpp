#include "files/LeggiFileDaEditare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray righe(const QByteArrayList& elenco, const QByteArray& fineRiga = "\r\n") {
    QByteArray testo;
    for (const QByteArray& riga : elenco)
        testo += riga + fineRiga;
    return testo;
}

int descrittoriAperti(const QString& percorso) {
    const QString bersaglio = QFileInfo(percorso).canonicalFilePath();
    const QDir cartella(QStringLiteral("/proc/self/fd"));
    int aperti = 0;
    for (const QString& nome : cartella.entryList(QDir::AllEntries | QDir::System))
        aperti += QFile::symLinkTarget(cartella.filePath(nome)) == bersaglio ? 1 : 0;
    return aperti;
}

} // namespace

class TestLeggiFileDaEditare : public QObject {
    Q_OBJECT

  private slots:
    void testo_data();
    void testo();
    void fileDiLetturaCompleta();
    void chiudeIlFile();
    void errori_data();
    void errori();
    void permessoNegato();

  private:
    QString scrivi(const QByteArray& contenuto);

    QTemporaryDir cartella_;
    int contatore_ = 0;
};

QString TestLeggiFileDaEditare::scrivi(const QByteArray& contenuto) {
    const QString percorso = cartella_.filePath(QString::number(++contatore_) + ".tvo");
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly) || file.write(contenuto) != contenuto.size())
        qFatal("cannot write %s", qPrintable(percorso));
    return percorso;
}

void TestLeggiFileDaEditare::testo_data() {
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<bool>("haCommento");
    QTest::addColumn<QByteArray>("commento");
    QTest::addColumn<QByteArray>("testo");

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
    const QByteArray commentoEsempio = "Ingresso magazzino, versione 2";
    const QByteArray testoEsempio = "000BENVENUTI       *\r\n"
                                    "001PORTA APERTA    controllare il sensore\r\n"
                                    "002ALLARME         \r\n"
                                    "nota: testi provvisori\r\n";
    QTest::newRow("esempio") << righe(esempio) << true << commentoEsempio << testoEsempio;
    QTest::newRow("esempio, righe finite da LF")
        << righe(esempio, "\n") << true << commentoEsempio << testoEsempio;
    QTest::newRow("esempio, righe finite da CR")
        << righe(esempio, "\r") << true << commentoEsempio << testoEsempio;

    QTest::newRow("corpo vuoto") << righe({"Commento", "", "end"}) << true << QByteArray("Commento")
                                 << QByteArray();
    QTest::newRow("un messaggio senza end")
        << righe({"C", "005TESTO"}) << true << QByteArray("C") << QByteArray();
    QTest::newRow("un messaggio con end")
        << righe({"C", "005TESTO", "end"}) << true << QByteArray("C")
        << QByteArray("005TESTO           \r\n");
    QTest::newRow("una riga") << righe({"000COMMENTO"}) << false << QByteArray() << QByteArray();
    QTest::newRow("una riga senza fine riga")
        << QByteArray("000COMMENTO") << false << QByteArray() << QByteArray();
    QTest::newRow("commento vuoto") << righe({"", "001A", "end"}) << true << QByteArray()
                                    << QByteArray("001A               \r\n");
    QTest::newRow("senza terminatore l'ultima riga si perde")
        << righe({"C", "001A", "nota"}) << true << QByteArray("C")
        << QByteArray("001A               \r\n");

    QTest::newRow("endless termina") << righe({"C", "001A", "endless", "002B", "end"}) << true
                                     << QByteArray("C") << QByteArray("001A               \r\n");
    QTest::newRow("END termina") << righe({"C", "001A", "END", "002B", "end"}) << true
                                 << QByteArray("C") << QByteArray("001A               \r\n");
    QTest::newRow("End mostrata") << righe({"C", "End", "002B", "end"}) << true << QByteArray("C")
                                  << QByteArray("End                \r\n"
                                                "002B               \r\n");

    QTest::newRow("solo indirizzo 007") << righe({"C", "007", "end"}) << true << QByteArray("C")
                                        << QByteArray("007                \r\n");
    QTest::newRow("riga di 30 caratteri mostrata intera")
        << righe({"C", "012ABCDEFGHIJKLMNOPQRSTUVWXYZ0", "end"}) << true << QByteArray("C")
        << QByteArray("012ABCDEFGHIJKLMNOPQRSTUVWXYZ0\r\n");
    const QByteArray ottanta =
        "0011234567890123456*abcdefghijabcdefghijabcdefghijabcdefghijABCDEFGHIKLMNOPQRSTU";
    QTest::newRow("riga di 80 caratteri tagliata a 69")
        << righe({"C", ottanta, "end"}) << true << QByteArray("C")
        << QByteArray("0011234567890123456*abcdefghijabcdefghijabcdefghijabcdefghijABCDEFGHI\r\n");
    QTest::newRow("una o due cifre e spazi")
        << righe({"C", "5", "51", "   ", "end"}) << true << QByteArray("C")
        << QByteArray("5                  \r\n"
                      "51                 \r\n"
                      "                   \r\n");
    QTest::newRow("511 mostrata, 512 no")
        << righe({"C", "512NO", "511SI", "999NO", "end"}) << true << QByteArray("C")
        << QByteArray("511SI              \r\n");
    QTest::newRow("numero iniziale")
        << righe({"C", "6e2NO", "5e2SI", "1e3NO", " 60SI", "-99SI", "+51SI", "9.5SI", "e12SI",
                  "--xSI", "---NO", "----NO", "end"})
        << true << QByteArray("C")
        << QByteArray("5e2SI              \r\n"
                      " 60SI              \r\n"
                      "-99SI              \r\n"
                      "+51SI              \r\n"
                      "9.5SI              \r\n"
                      "e12SI              \r\n"
                      "--xSI              \r\n");
    QTest::newRow("testo senza indirizzo")
        << righe({"C", "nota: provvisorio", "end"}) << true << QByteArray("C")
        << QByteArray("nota: provvisorio  \r\n");
    QTest::newRow("byte 128-255 e 0")
        << righe({"\xe8\xe0\xf9\x80", QByteArray("001\x80\xe8\xff\x00Z", 8), "end"}) << true
        << QByteArray("\xe8\xe0\xf9\x80") << QByteArray("001\x80\xe8\xff\x00Z           \r\n", 21);
}

void TestLeggiFileDaEditare::testo() {
    QFETCH(QByteArray, contenuto);
    QFETCH(bool, haCommento);
    QFETCH(QByteArray, commento);
    QFETCH(QByteArray, testo);
    const TestoDaEditare letto = LeggiFileDaEditare(scrivi(contenuto));
    QCOMPARE(letto.error, QString());
    QCOMPARE(letto.commento.has_value(), haCommento);
    if (haCommento)
        QCOMPARE(*letto.commento, commento);
    QCOMPARE(letto.testo, testo);
}

void TestLeggiFileDaEditare::fileDiLetturaCompleta() {
    QByteArrayList linee{"Letti dal TARVO"};
    QByteArray atteso;
    for (int indirizzo = 0; indirizzo < 512; ++indirizzo) {
        const QByteArray linea = QByteArray::number(indirizzo).rightJustified(3, '0') +
                                 QByteArray("TESTO \xe8").leftJustified(16, ' ') + "*";
        linee.append(linea);
        atteso += linea + "\r\n";
    }
    linee.append("");
    linee.append("end");
    const TestoDaEditare letto = LeggiFileDaEditare(scrivi(righe(linee)));
    QCOMPARE(letto.commento, std::optional<QByteArray>("Letti dal TARVO"));
    QCOMPARE(letto.testo.count("\r\n"), 512);
    QCOMPARE(letto.testo, atteso);
}

void TestLeggiFileDaEditare::chiudeIlFile() {
    const QString percorso = scrivi(righe({"C", "001A", "end", "002B"}));
    QVERIFY(!LeggiFileDaEditare(percorso).testo.isEmpty());
    QCOMPARE(descrittoriAperti(percorso), 0);
}

void TestLeggiFileDaEditare::errori_data() {
    QTest::addColumn<QString>("percorso");
    QTest::addColumn<QString>("atteso");

    const QString mancante = cartella_.filePath("mancante.tvo");
    QTest::newRow("file mancante")
        << mancante
        << QStringLiteral("Impossibile aprire il file %1: il file o la cartella non esiste")
               .arg(QDir::toNativeSeparators(mancante));
    QTest::newRow("cartella") << cartella_.path()
                              << QStringLiteral(
                                     "Impossibile aprire il file %1: è una cartella, non un file")
                                     .arg(QDir::toNativeSeparators(cartella_.path()));
    const QString vuoto = scrivi(QByteArray());
    QTest::newRow("file vuoto")
        << vuoto << QStringLiteral("Il file %1 è vuoto").arg(QDir::toNativeSeparators(vuoto));
    QTest::newRow("errore di lettura")
        << QStringLiteral("/proc/self/mem")
        << QStringLiteral(
               "Errore di lettura del file /proc/self/mem: errore del disco o del dispositivo");
}

void TestLeggiFileDaEditare::errori() {
    QFETCH(QString, percorso);
    QFETCH(QString, atteso);
    const TestoDaEditare letto = LeggiFileDaEditare(percorso);
    QCOMPARE(letto.error, atteso);
    QVERIFY(!letto.commento);
    QVERIFY(letto.testo.isEmpty());
}

void TestLeggiFileDaEditare::permessoNegato() {
    const QString percorso = scrivi(righe({"C", "001A", "end"}));
    QFile::setPermissions(percorso, QFileDevice::Permissions());
    QFile prova(percorso);
    if (prova.open(QIODevice::ReadOnly))
        QSKIP("this user reads files whatever their permissions (root)");
    QCOMPARE(LeggiFileDaEditare(percorso).error,
             QStringLiteral("Impossibile aprire il file %1: permesso negato")
                 .arg(QDir::toNativeSeparators(percorso)));
}

QTEST_MAIN(TestLeggiFileDaEditare)
#include "tst_leggifiledaeditare.moc"

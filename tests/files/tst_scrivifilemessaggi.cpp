#include "files/LeggiFileDaEditare.h"
#include "files/LeggiFileDaProgrammare.h"
#include "files/ScriviFileMessaggi.h"

#include "AsUnprivilegedUser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <optional>
#include <sys/resource.h>

namespace {

QByteArray contenutoDi(const QString& percorso) {
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return "<non leggibile>";
    return file.readAll();
}

void crea(const QString& percorso, const QByteArray& contenuto) {
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly) || file.write(contenuto) != contenuto.size())
        qFatal("cannot write %s", qPrintable(percorso));
}

// Caps the size of the files this process may write, and lets a write beyond
// it fail with an error instead of a signal, for as long as it lives.
class LimiteDimensioneFile {
  public:
    explicit LimiteDimensioneFile(rlim_t byte) {
        getrlimit(RLIMIT_FSIZE, &prima_);
        gestorePrima_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = prima_;
        limite.rlim_cur = byte;
        attivo_ = setrlimit(RLIMIT_FSIZE, &limite) == 0;
    }
    ~LimiteDimensioneFile() {
        setrlimit(RLIMIT_FSIZE, &prima_);
        std::signal(SIGXFSZ, gestorePrima_);
    }
    LimiteDimensioneFile(const LimiteDimensioneFile&) = delete;
    LimiteDimensioneFile& operator=(const LimiteDimensioneFile&) = delete;
    bool attivo() const { return attivo_; }

  private:
    rlimit prima_{};
    void (*gestorePrima_)(int) = nullptr;
    bool attivo_ = false;
};

// A body as reading all texts gives it: 512 lines, 12 kB.
QByteArray corpoDi512Righe() {
    QByteArray corpo;
    for (int i = 0; i < 512; ++i)
        corpo += QByteArray::number(i).rightJustified(3, '0') + "TESTO NUOVO     *\r\n";
    return corpo;
}

} // namespace

class TestScriviFileMessaggi : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void contenuto_data();
    void contenuto();
    void sostituisceIlFileEsistente();
    void ritornoSenzaCambiareByte();
    void errori_data();
    void errori();
    void commentoSuPiuRighe_data();
    void commentoSuPiuRighe();
    void erroreAMetaScrittura();
    void cartellaDiSolaLettura_data();
    void cartellaDiSolaLettura();

  private:
    QStringList voci() const;

    std::unique_ptr<QTemporaryDir> cartella_;
};

void TestScriviFileMessaggi::init() {
    cartella_ = std::make_unique<QTemporaryDir>();
    QVERIFY(cartella_->isValid());
}

QStringList TestScriviFileMessaggi::voci() const {
    return QDir(cartella_->path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

void TestScriviFileMessaggi::contenuto_data() {
    QTest::addColumn<QByteArray>("commento");
    QTest::addColumn<QByteArray>("corpo");
    QTest::addColumn<QByteArray>("atteso");

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

void TestScriviFileMessaggi::contenuto() {
    QFETCH(QByteArray, commento);
    QFETCH(QByteArray, corpo);
    QFETCH(QByteArray, atteso);
    const QString percorso = cartella_->filePath("nuovo.tvo");
    QCOMPARE(ScriviFileMessaggi(percorso, commento, corpo).error, QString());
    QCOMPARE(contenutoDi(percorso), atteso);
    QCOMPARE(voci(), QStringList{"nuovo.tvo"});
}

void TestScriviFileMessaggi::sostituisceIlFileEsistente() {
    const QString percorso = cartella_->filePath("esistente.TVO");
    crea(percorso, QByteArray(10000, 'v'));
    QCOMPARE(ScriviFileMessaggi(percorso, "Nuovo", "001A\r\n").error, QString());
    QCOMPARE(contenutoDi(percorso), QByteArray("Nuovo\r\n001A\r\n\r\nend\r\n"));
    QCOMPARE(voci(), QStringList{"esistente.TVO"});
}

void TestScriviFileMessaggi::ritornoSenzaCambiareByte() {
    // Every byte from 128 to 255 in the texts and the comment, read by the
    // editor, written, and read again.
    QByteArray commento = "Commento ";
    QByteArrayList linee;
    for (int riga = 0; riga < 8; ++riga) {
        QByteArray testo;
        for (int i = 0; i < 16; ++i)
            testo.append(char(128 + riga * 16 + i));
        commento.append(char(255 - riga));
        linee.append(QByteArray::number(riga).rightJustified(3, '0') + testo + "*nota \xe8");
    }
    const QByteArray corpo = linee.join("\r\n") + "\r\n";
    const QString originale = cartella_->filePath("originale.tvo");
    crea(originale, commento + "\r\n" + corpo + "end\r\n");

    const TestoDaEditare letto = LeggiFileDaEditare(originale);
    QCOMPARE(letto.commento, std::optional<QByteArray>(commento));
    QCOMPARE(letto.testo, corpo);

    const QString copia = cartella_->filePath("copia.tvo");
    QCOMPARE(ScriviFileMessaggi(copia, *letto.commento, letto.testo).error, QString());
    QCOMPARE(contenutoDi(copia), commento + "\r\n" + corpo + "\r\nend\r\n");

    LeggiFileDaProgrammare daOriginale(originale);
    LeggiFileDaProgrammare daCopia(copia);
    int record = 0;
    for (auto a = daOriginale.next(), b = daCopia.next(); a || b;
         a = daOriginale.next(), b = daCopia.next(), ++record)
        QCOMPARE(a, b);
    QCOMPARE(record, 8);
}

void TestScriviFileMessaggi::errori_data() {
    QTest::addColumn<QString>("sottoPercorso");
    QTest::addColumn<QString>("motivo");

    QTest::newRow("cartella mancante")
        << QStringLiteral("mancante/x.tvo") << QStringLiteral("il file o la cartella non esiste");
    QTest::newRow("cartella che e un file")
        << QStringLiteral("esistente.tvo/x.tvo")
        << QStringLiteral("una parte del percorso non è una cartella");
    QTest::newRow("nome di una cartella")
        << QStringLiteral("cartella.tvo") << QStringLiteral("è una cartella, non un file");
}

void TestScriviFileMessaggi::errori() {
    QFETCH(QString, sottoPercorso);
    QFETCH(QString, motivo);
    crea(cartella_->filePath("esistente.tvo"), "vecchio");
    QVERIFY(QDir(cartella_->path()).mkdir("cartella.tvo"));
    const QString percorso = cartella_->filePath(sottoPercorso);
    QCOMPARE(ScriviFileMessaggi(percorso, "C", "001A\r\n").error,
             QStringLiteral("Impossibile scrivere il file %1: %2")
                 .arg(QDir::toNativeSeparators(percorso), motivo));
    QCOMPARE(contenutoDi(cartella_->filePath("esistente.tvo")), QByteArray("vecchio"));
    QCOMPARE(voci(), (QStringList{"cartella.tvo", "esistente.tvo"}));
    QVERIFY(QDir(cartella_->filePath("cartella.tvo")).isEmpty());
}

void TestScriviFileMessaggi::commentoSuPiuRighe_data() {
    QTest::addColumn<QByteArray>("commento");
    QTest::newRow("CR LF") << QByteArray("Commento\r\n001FALSO");
    QTest::newRow("LF") << QByteArray("Commento\n001FALSO");
    QTest::newRow("CR") << QByteArray("Commento\r");
}

void TestScriviFileMessaggi::commentoSuPiuRighe() {
    QFETCH(QByteArray, commento);
    const QString percorso = cartella_->filePath("esistente.tvo");
    crea(percorso, "vecchio");
    QCOMPARE(
        ScriviFileMessaggi(percorso, commento, "001A\r\n").error,
        QStringLiteral("Impossibile scrivere il file %1: il commento deve stare su una sola riga")
            .arg(QDir::toNativeSeparators(percorso)));
    QCOMPARE(contenutoDi(percorso), QByteArray("vecchio"));
}

void TestScriviFileMessaggi::erroreAMetaScrittura() {
    // The file system refuses the write after 4 kB: the old file must survive
    // whole, and no partial or temporary file may remain.
    const QString percorso = cartella_->filePath("esistente.tvo");
    const QByteArray vecchio = "Vecchio\r\n001VECCHIO\r\nend\r\n";
    crea(percorso, vecchio);
    const QByteArray corpo = corpoDi512Righe();
    QString errore;
    {
        const LimiteDimensioneFile limite(4096);
        if (!limite.attivo())
            QSKIP("the file size limit cannot be set here");
        errore = ScriviFileMessaggi(percorso, "Nuovo", corpo).error;
    }
    QCOMPARE(errore, QStringLiteral("Impossibile scrivere il file %1: il file supera la dimensione "
                                    "massima consentita")
                         .arg(QDir::toNativeSeparators(percorso)));
    QCOMPARE(contenutoDi(percorso), vecchio);
    QCOMPARE(voci(), QStringList{"esistente.tvo"});
}

void TestScriviFileMessaggi::cartellaDiSolaLettura_data() {
    QTest::addColumn<int>("limite");
    QTest::newRow("riscritto sul posto") << 0;
    QTest::newRow("scrittura interrotta") << 4096;
}

void TestScriviFileMessaggi::cartellaDiSolaLettura() {
    // A writable file in a folder where no new file can be created (checked as
    // an ordinary user: root creates files anywhere) is rewritten in place; a
    // write that fails there says that the file may be incomplete.
    QFETCH(int, limite);
    const auto tutti = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther |
                       QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    const auto scrivibile =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    QVERIFY(QFile::setPermissions(cartella_->path(), tutti | scrivibile));
    const QString sola = cartella_->filePath("sola");
    QVERIFY(QDir(cartella_->path()).mkdir("sola"));
    const QString percorso = sola + "/esistente.tvo";
    crea(percorso, "vecchio");
    QVERIFY(QFile::setPermissions(percorso,
                                  QFileDevice::ReadOwner | QFileDevice::ReadOther | scrivibile));
    QVERIFY(QFile::setPermissions(sola, tutti));
    const QByteArray corpo = corpoDi512Righe();

    const std::optional<QByteArray> esito = runAsUnprivilegedUser([&] {
        if (QFile(sola + "/prova").open(QIODevice::WriteOnly))
            return QByteArray("la cartella accetta file nuovi");
        std::optional<LimiteDimensioneFile> limitato;
        if (limite != 0)
            limitato.emplace(limite);
        const WriteOutcome scritto = ScriviFileMessaggi(percorso, "Nuovo", corpo);
        return QByteArray(scritto.writtenInPlace ? "sul posto:" : "altrove:") +
               scritto.error.toUtf8();
    });
    QVERIFY(QFile::setPermissions(sola, tutti | QFileDevice::WriteOwner));
    QVERIFY(esito);
    QCOMPARE(voci(), QStringList{"sola"});
    QCOMPARE(QDir(sola).entryList(QDir::Files), QStringList{"esistente.tvo"});
    if (limite == 0) {
        QCOMPARE(*esito, QByteArray("sul posto:"));
        QCOMPARE(contenutoDi(percorso), "Nuovo\r\n" + corpo + "\r\nend\r\n");
    } else {
        QCOMPARE(QString::fromUtf8(*esito),
                 QStringLiteral("sul posto:Impossibile scrivere il file %1: il file supera la "
                                "dimensione massima consentita")
                     .arg(QDir::toNativeSeparators(percorso)));
    }
}

QTEST_MAIN(TestScriviFileMessaggi)
#include "tst_scrivifilemessaggi.moc"

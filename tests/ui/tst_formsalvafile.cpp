#include "DigitaTesto.h"
#include "core/Variabili.h"
#include "ui/DirectoryList.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"
#include "ui/FormSalvaFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QByteArray corpoDiProva = "000PRIMO           *\r\n001SECONDO         *\r\n";

QByteArray leggi(const QString& percorso) {
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QColor sfondo(const QLabel& etichetta) {
    return etichetta.palette().color(QPalette::Window);
}

const QColor rossoChiaro(255, 192, 192);

// Holds the size limit of files written by this process for the lifetime of
// the object; writing past it fails with EFBIG instead of raising SIGXFSZ.
class LimiteDimensioneFile {
  public:
    explicit LimiteDimensioneFile(rlim_t byte) {
        getrlimit(RLIMIT_FSIZE, &prima_);
        segnalePrima_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = prima_;
        limite.rlim_cur = byte;
        attivo_ = setrlimit(RLIMIT_FSIZE, &limite) == 0;
    }
    ~LimiteDimensioneFile() {
        setrlimit(RLIMIT_FSIZE, &prima_);
        std::signal(SIGXFSZ, segnalePrima_);
    }
    LimiteDimensioneFile(const LimiteDimensioneFile&) = delete;
    LimiteDimensioneFile& operator=(const LimiteDimensioneFile&) = delete;
    bool attivo() const { return attivo_; }

  private:
    rlimit prima_{};
    void (*segnalePrima_)(int) = nullptr;
    bool attivo_ = false;
};

} // namespace

class TestFormSalvaFile : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void aspetto();
    void ordineDelFuoco();
    void caricamento();
    void cambioCartella();
    void nomeRifiutato_data();
    void nomeRifiutato();
    void nomeAccettato_data();
    void nomeAccettato();
    void nomeCorrettoDopoRifiuto();
    void sostituisceFileScelto();
    void sceltaDaTastiera();
    void tabThroughFileListReplacesNothing();
    void commento_data();
    void commento();
    void commentoNonAmmesso();
    void esciSenzaSalvare();
    void chiusuraDallaCasella();
    void scritturaFallita_data();
    void scritturaFallita();
    void fileDiSolaLettura();
    void mostraModale();
    void chiusuraDelProgramma();

  private:
    // A save window on the test folder, shown without a modal wait.
    FormSalvaFile& apri();
    QString percorso(const QString& nome) const { return QDir(cartella_.path()).filePath(nome); }
    void scrivi(const QString& nome, const QByteArray& contenuto);
    void aspettaElenco(int righe);

    QTemporaryDir cartella_;
    Variabili v_;
    std::unique_ptr<FormSalvaFile> finestra_;
};

void TestFormSalvaFile::init() {
    QVERIFY(cartella_.isValid());
    v_ = Variabili{};
    v_.TestoMessaggi = corpoDiProva;
    v_.FileSelezionato = "/prima/scelto.tvo";
}

void TestFormSalvaFile::cleanup() {
    finestra_.reset();
    QDir cartella(cartella_.path());
    for (const QString& nome :
         cartella.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QFile::setPermissions(cartella.filePath(nome),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFileInfo(cartella.filePath(nome)).isDir()
            ? QDir(cartella.filePath(nome)).removeRecursively()
            : cartella.remove(nome);
    }
}

FormSalvaFile& TestFormSalvaFile::apri() {
    finestra_ = std::make_unique<FormSalvaFile>(v_);
    finestra_->Dir1->setPath(cartella_.path());
    finestra_->show();
    return *finestra_;
}

void TestFormSalvaFile::scrivi(const QString& nome, const QByteArray& contenuto) {
    QFile file(percorso(nome));
    if (!file.open(QIODevice::WriteOnly) || file.write(contenuto) != contenuto.size())
        qFatal("cannot write %s", qPrintable(nome));
}

void TestFormSalvaFile::aspettaElenco(int righe) {
    FileList* elenco = finestra_->File1;
    QTRY_COMPARE(elenco->model()->rowCount(elenco->rootIndex()), righe);
}

void TestFormSalvaFile::aspetto() {
    auto& finestra = apri();
    QCOMPARE(finestra.windowTitle(), QStringLiteral("FormSalvaFile"));
    QCOMPARE(finestra.size(), QSize(514, 436));
    QVERIFY(finestra.findChild<DriveList*>("Drive1"));
    QVERIFY(finestra.findChild<DirectoryList*>("Dir1"));
    QVERIFY(finestra.findChild<FileList*>("File1"));
    QCOMPARE(finestra.findChild<QLabel*>("Label3")->text(), QStringLiteral("Path :"));
    QCOMPARE(finestra.findChild<QLabel*>("Label1")->text(),
             QStringLiteral("Deve avere estensione .tvo"));
    QCOMPARE(finestra.findChild<QLabel*>("Label4")->text(),
             QStringLiteral("Puoi aggiungere qui un commento da memorizzare nel file"));
    QCOMPARE(finestra.findChild<QLineEdit*>("Text1")->text(), QStringLiteral("File name"));
    QCOMPARE(finestra.findChild<QPushButton*>("Command2")->text(),
             QStringLiteral("Esci senza salvare"));
    QCOMPARE(finestra.findChild<QPushButton*>("Command1")->text(), QStringLiteral("Salva"));

    QVERIFY(finestra.Label1->font().bold());
    QCOMPARE(finestra.Label1->font().pointSizeF(), 9.75);
    QVERIFY(finestra.Label1->autoFillBackground());
    QVERIFY(sfondo(*finestra.Label1) != rossoChiaro);
    for (QPushButton* pulsante : {finestra.Command1, finestra.Command2}) {
        QVERIFY(pulsante->font().bold());
        QCOMPARE(pulsante->font().pointSizeF(), 18.0);
    }
    QCOMPARE(finestra.Text2->palette().color(QPalette::Base),
             QPalette().color(QPalette::ToolTipBase));
    // Lists on top, the buttons at the bottom, "Esci senza salvare" on the left.
    QVERIFY(finestra.Dir1->geometry().bottom() < finestra.Label2->geometry().top());
    QVERIFY(finestra.Text2->geometry().bottom() < finestra.Command1->geometry().top());
    QVERIFY(finestra.Command2->geometry().right() < finestra.Command1->geometry().left());
    QVERIFY(finestra.Drive1->geometry().right() < finestra.Dir1->geometry().left());
    QVERIFY(finestra.Dir1->geometry().right() < finestra.File1->geometry().left());
}

void TestFormSalvaFile::ordineDelFuoco() {
    auto& finestra = apri();
    finestra.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&finestra));
    finestra.Drive1->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), finestra.Drive1);
    const QList<QWidget*> attesi{finestra.File1,    finestra.Dir1->view(), finestra.Text1,
                                 finestra.Command1, finestra.Text2,        finestra.Command2,
                                 finestra.Drive1};
    for (QWidget* atteso : attesi) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), atteso);
    }
}

void TestFormSalvaFile::caricamento() {
    const QString corrente = QDir::currentPath();
    QVERIFY(QDir::setCurrent(cartella_.path()));
    scrivi("uno.tvo", "x");
    scrivi("altro.txt", "x");
    v_.CommentoDaSalvare = "Letti il 3 \xE8";
    FormSalvaFile finestra(v_);
    QDir::setCurrent(corrente);

    const QString cartella = QDir(cartella_.path()).canonicalPath();
    QCOMPARE(QDir(finestra.Dir1->path()).canonicalPath(), cartella);
    QCOMPARE(QDir(finestra.File1->path()).canonicalPath(), cartella);
    QCOMPARE(finestra.Label2->text(), QDir::toNativeSeparators(finestra.File1->path()) + "/");
    QCOMPARE(finestra.Text2->text(), QStringLiteral("Letti il 3 è"));
    QTRY_COMPARE(finestra.File1->model()->rowCount(finestra.File1->rootIndex()), 1);
}

void TestFormSalvaFile::cambioCartella() {
    QVERIFY(QDir(cartella_.path()).mkdir("sotto"));
    scrivi("sotto/a.tvo", "x");
    scrivi("sotto/b.TVO", "x");
    auto& finestra = apri();
    aspettaElenco(0);
    finestra.Dir1->setPath(percorso("sotto"));
    QCOMPARE(finestra.File1->path(), percorso("sotto"));
    QCOMPARE(finestra.Label2->text(), QDir::toNativeSeparators(percorso("sotto")) + "/");
    aspettaElenco(2);

    // At the root the path label holds a single separator.
    finestra.Dir1->setPath(QDir::rootPath());
    QCOMPARE(finestra.Label2->text(), QDir::toNativeSeparators(QDir::rootPath()));
}

void TestFormSalvaFile::nomeRifiutato_data() {
    QTest::addColumn<QString>("nome");
    QTest::newRow("initial text") << QStringLiteral("File name");
    QTest::newRow("empty") << QString();
    QTest::newRow("tvo without the dot") << QStringLiteral("nometvo");
    QTest::newRow("short") << QStringLiteral("tvo");
    QTest::newRow("other extension") << QStringLiteral("nome.txt");
    QTest::newRow("trailing space") << QStringLiteral("nome.tvo ");
    QTest::newRow("extension in the middle") << QStringLiteral("nome.tvo.bak");
}

void TestFormSalvaFile::nomeRifiutato() {
    QFETCH(QString, nome);
    auto& finestra = apri();
    finestra.Text1->setText(nome);
    QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    QCOMPARE(sfondo(*finestra.Label1), rossoChiaro);
    QVERIFY(finestra.isVisible());
    QCOMPARE(v_.FileSelezionato, QByteArray("/prima/scelto.tvo"));
    QCOMPARE(QDir(cartella_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
}

void TestFormSalvaFile::nomeAccettato_data() {
    QTest::addColumn<QString>("nome");
    QTest::newRow("lower case") << QStringLiteral("nuovo.tvo");
    QTest::newRow("capitals") << QStringLiteral("NUOVO.TVO");
    QTest::newRow("mixed case") << QStringLiteral("Nuovo.Tvo");
    QTest::newRow("only the extension") << QStringLiteral(".tvo");
    QTest::newRow("spaces and accents") << QStringLiteral("prova è 2.tvo");
}

void TestFormSalvaFile::nomeAccettato() {
    QFETCH(QString, nome);
    auto& finestra = apri();
    finestra.Text1->setText(nome);
    finestra.Text2->setText("commento");
    QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    QVERIFY(!finestra.isVisible());
    QCOMPARE(
        QDir(cartella_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList{nome});
    QCOMPARE(leggi(percorso(nome)), "commento\r\n" + corpoDiProva + "\r\nend\r\n");
    QCOMPARE(v_.FileSelezionato, QFile::encodeName(percorso(nome)));
}

void TestFormSalvaFile::nomeCorrettoDopoRifiuto() {
    auto& finestra = apri();
    const QColor normale = sfondo(*finestra.Label1);
    QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    QCOMPARE(sfondo(*finestra.Label1), rossoChiaro);
    finestra.Text1->clear();
    QTest::keyClicks(finestra.Text1, "giusto.tvo");
    QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    QVERIFY(!finestra.isVisible());
    QCOMPARE(leggi(percorso("giusto.tvo")), "\r\n" + corpoDiProva + "\r\nend\r\n");

    auto& seconda = apri();
    QCOMPARE(sfondo(*seconda.Label1), normale);
    QCOMPARE(seconda.Text1->text(), QStringLiteral("File name"));
}

void TestFormSalvaFile::sostituisceFileScelto() {
    scrivi("a.tvo", "vecchio\r\n000X\r\nend\r\n");
    scrivi("esistente.tvo", "vecchio commento\r\n000VECCHIO\r\n\r\nend\r\n");
    auto& finestra = apri();
    aspettaElenco(2);
    FileList* elenco = finestra.File1;
    QModelIndex scelto;
    for (int riga = 0; riga < 2; ++riga) {
        const QModelIndex indice = elenco->model()->index(riga, 0, elenco->rootIndex());
        if (indice.data().toString() == "esistente.tvo")
            scelto = indice;
    }
    QVERIFY(scelto.isValid());
    QTest::mouseClick(elenco->viewport(), Qt::LeftButton, {}, elenco->visualRect(scelto).center());
    QCOMPARE(finestra.Text1->text(), QStringLiteral("esistente.tvo"));

    finestra.Text2->setText("nuovo commento");
    QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    QVERIFY(!finestra.isVisible());
    QCOMPARE(leggi(percorso("esistente.tvo")), "nuovo commento\r\n" + corpoDiProva + "\r\nend\r\n");
    QCOMPARE(leggi(percorso("a.tvo")), QByteArray("vecchio\r\n000X\r\nend\r\n"));
    QCOMPARE(v_.FileSelezionato, QFile::encodeName(percorso("esistente.tvo")));
}

void TestFormSalvaFile::sceltaDaTastiera() {
    scrivi("a.tvo", "x");
    scrivi("b.tvo", "x");
    auto& finestra = apri();
    aspettaElenco(2);
    finestra.File1->setFocus();
    const auto nomeInRiga = [&](int riga) {
        return finestra.File1->model()
            ->index(riga, 0, finestra.File1->rootIndex())
            .data()
            .toString();
    };
    QTest::keyClick(finestra.File1, Qt::Key_End);
    QCOMPARE(finestra.Text1->text(), nomeInRiga(1));
    QTest::keyClick(finestra.File1, Qt::Key_Home);
    QCOMPARE(finestra.Text1->text(), nomeInRiga(0));
    QVERIFY(nomeInRiga(0) != nomeInRiga(1));
}

void TestFormSalvaFile::tabThroughFileListReplacesNothing() {
    const QByteArray vecchio = "vecchio\r\n000VECCHIO\r\nend\r\n";
    scrivi("a.tvo", vecchio);
    auto& finestra = apri();
    aspettaElenco(1);
    finestra.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&finestra));
    finestra.Drive1->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), finestra.Drive1);
    for (int volte = 0; volte < 3; ++volte)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), finestra.Text1);
    QCOMPARE(finestra.Text1->text(), QStringLiteral("File name"));
    QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    QCOMPARE(sfondo(*finestra.Label1), rossoChiaro);
    QVERIFY(finestra.isVisible());
    QCOMPARE(leggi(percorso("a.tvo")), vecchio);
    QCOMPARE(v_.FileSelezionato, QByteArray("/prima/scelto.tvo"));
}

void TestFormSalvaFile::commento_data() {
    QTest::addColumn<QString>("commento");
    QTest::addColumn<QByteArray>("rigaUno");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("typed") << QStringLiteral("Ingresso magazzino")
                           << QByteArray("Ingresso magazzino");
    QTest::newRow("Windows-1252 characters")
        << QStringLiteral("Però € 5 «ok»") << QByteArray("Per\xF2 \x80 5 \xABok\xBB");
    QTest::newRow("looks like a message line")
        << QStringLiteral("000NON UN TESTO") << QByteArray("000NON UN TESTO");
}

void TestFormSalvaFile::commento() {
    QFETCH(QString, commento);
    QFETCH(QByteArray, rigaUno);
    auto& finestra = apri();
    finestra.Text1->setText("c.tvo");
    finestra.Text2->clear();
    digitaTesto(finestra.Text2, commento);
    QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    QVERIFY(!finestra.isVisible());
    QCOMPARE(leggi(percorso("c.tvo")), rigaUno + "\r\n" + corpoDiProva + "\r\nend\r\n");
}

void TestFormSalvaFile::commentoNonAmmesso() {
    auto& finestra = apri();
    finestra.Text1->setText("c.tvo");
    finestra.Text2->setText(QStringLiteral("Łódź"));
    QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    QVERIFY(finestra.isVisible());
    QVERIFY(finestra.Messaggio->isVisible());
    QVERIFY(finestra.Messaggio->text().contains(QStringLiteral("«Ł»")));
    QVERIFY(!QFile::exists(percorso("c.tvo")));
    QCOMPARE(v_.FileSelezionato, QByteArray("/prima/scelto.tvo"));

    finestra.Text2->setText(QStringLiteral("Lodz"));
    QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    QVERIFY(!finestra.isVisible());
    QCOMPARE(leggi(percorso("c.tvo")), "Lodz\r\n" + corpoDiProva + "\r\nend\r\n");
}

void TestFormSalvaFile::esciSenzaSalvare() {
    auto& finestra = apri();
    finestra.Text1->setText("nuovo.tvo");
    QTest::mouseClick(finestra.Command2, Qt::LeftButton);
    QVERIFY(!finestra.isVisible());
    QCOMPARE(QDir(cartella_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
    QCOMPARE(v_.FileSelezionato, QByteArray("/prima/scelto.tvo"));
}

void TestFormSalvaFile::chiusuraDallaCasella() {
    auto& finestra = apri();
    finestra.Text1->setText("nuovo.tvo");
    QTimer::singleShot(0, &finestra, [&] { finestra.close(); });
    finestra.mostraModale();
    QVERIFY(!finestra.isVisible());
    QCOMPARE(QDir(cartella_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
    QCOMPARE(v_.FileSelezionato, QByteArray("/prima/scelto.tvo"));
}

void TestFormSalvaFile::scritturaFallita_data() {
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("parolaAttesa");

    QTest::newRow("name with a folder")
        << QStringLiteral("sotto/vecchio.tvo") << QStringLiteral("non può contenere");
    QTest::newRow("name with a backslash")
        << QStringLiteral("sotto\\vecchio.tvo") << QStringLiteral("non può contenere");
    QTest::newRow("name too long") << QString(300, u'n') + ".tvo" << QStringLiteral("lungo");
    QTest::newRow("folder gone") << QStringLiteral("vecchio.tvo") << QStringLiteral("non esiste");
    QTest::newRow("a folder of that name")
        << QStringLiteral("cartella.tvo") << QStringLiteral("è una cartella");
    QTest::newRow("file too large") << QStringLiteral("vecchio.tvo")
                                    << QStringLiteral("dimensione massima consentita. Il file "
                                                      "che c'era è rimasto com'era.");
}

void TestFormSalvaFile::scritturaFallita() {
    QFETCH(QString, nome);
    QFETCH(QString, parolaAttesa);

    const QByteArray vecchio = "vecchio\r\n000VECCHIO\r\n\r\nend\r\n";
    QVERIFY(QDir(cartella_.path()).mkpath("sotto/cartella.tvo"));
    scrivi("vecchio.tvo", vecchio);
    scrivi("sotto/vecchio.tvo", vecchio);
    auto& finestra = apri();
    if (QByteArray(QTest::currentDataTag()) == "folder gone") {
        QVERIFY(QDir(cartella_.path()).mkdir("sparita"));
        finestra.Dir1->setPath(percorso("sparita"));
        QVERIFY(QDir(percorso("sparita")).removeRecursively());
    } else if (nome == "cartella.tvo") {
        finestra.Dir1->setPath(percorso("sotto"));
    }

    finestra.Text1->setText(nome);
    finestra.Text2->setText("nuovo");
    {
        std::optional<LimiteDimensioneFile> limite;
        if (QByteArray(QTest::currentDataTag()) == "file too large") {
            v_.TestoMessaggi = QByteArray(64 * 1024, 'x');
            limite.emplace(4096);
            QVERIFY(limite->attivo());
        }
        QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    }

    QVERIFY(finestra.isVisible());
    QVERIFY(finestra.Messaggio->isVisible());
    QVERIFY2(finestra.Messaggio->text().contains(parolaAttesa),
             qPrintable(finestra.Messaggio->text()));
    QVERIFY(sfondo(*finestra.Label1) != rossoChiaro);
    QCOMPARE(v_.FileSelezionato, QByteArray("/prima/scelto.tvo"));
    QCOMPARE(leggi(percorso("vecchio.tvo")), vecchio);
    QCOMPARE(leggi(percorso("sotto/vecchio.tvo")), vecchio);
    QCOMPARE(QDir(cartella_.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"vecchio.tvo"});
    QCOMPARE(QDir(percorso("sotto")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"vecchio.tvo"});

    // The window stays usable: a good name then saves and closes it.
    v_.TestoMessaggi = corpoDiProva;
    finestra.Dir1->setPath(cartella_.path());
    finestra.Text1->setText("vecchio.tvo");
    QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    QVERIFY(!finestra.isVisible());
    QCOMPARE(leggi(percorso("vecchio.tvo")), "nuovo\r\n" + corpoDiProva + "\r\nend\r\n");
}

void TestFormSalvaFile::fileDiSolaLettura() {
    if (geteuid() == 0)
        QSKIP("root writes to read-only files");
    const QByteArray vecchio = "vecchio\r\n000VECCHIO\r\n\r\nend\r\n";
    scrivi("bloccato.tvo", vecchio);
    QVERIFY(QFile::setPermissions(percorso("bloccato.tvo"), QFile::ReadOwner));
    auto& finestra = apri();
    finestra.Text1->setText("bloccato.tvo");
    QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    QVERIFY(finestra.isVisible());
    QVERIFY(finestra.Messaggio->text().contains(QStringLiteral("sola lettura")));
    QCOMPARE(leggi(percorso("bloccato.tvo")), vecchio);
    QCOMPARE(v_.FileSelezionato, QByteArray("/prima/scelto.tvo"));
}

void TestFormSalvaFile::mostraModale() {
    finestra_ = std::make_unique<FormSalvaFile>(v_);
    FormSalvaFile& finestra = *finestra_;
    bool eraModale = false;
    QTimer::singleShot(0, &finestra, [&] {
        eraModale = finestra.isVisible() && finestra.isModal();
        finestra.Dir1->setPath(cartella_.path());
        QTest::keyClicks(finestra.Text1, "x");
        QTest::mouseClick(finestra.Command1, Qt::LeftButton);
        finestra.Text1->setText("modale.tvo");
        QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    });
    finestra.mostraModale();
    QVERIFY(eraModale);
    QVERIFY(!finestra.isVisible());
    QCOMPARE(leggi(percorso("modale.tvo")), "\r\n" + corpoDiProva + "\r\nend\r\n");
    QCOMPARE(v_.FileSelezionato, QFile::encodeName(percorso("modale.tvo")));
}

void TestFormSalvaFile::chiusuraDelProgramma() {
    finestra_ = std::make_unique<FormSalvaFile>(v_);
    FormSalvaFile& finestra = *finestra_;
    QTimer::singleShot(0, &finestra, [&] {
        finestra.Dir1->setPath(cartella_.path());
        finestra.Text1->setText("mai.tvo");
        v_.closeRequested = true;
    });
    finestra.mostraModale();
    QVERIFY(!finestra.isVisible());
    QVERIFY(!QFile::exists(percorso("mai.tvo")));
    QCOMPARE(v_.FileSelezionato, QByteArray("/prima/scelto.tvo"));

    // Asked to close before it is shown, it is not shown at all.
    FormSalvaFile dopo(v_);
    dopo.mostraModale();
    QVERIFY(!dopo.isVisible());
}

QTEST_MAIN(TestFormSalvaFile)
#include "tst_formsalvafile.moc"

#include "DigitaTesto.h"
#include "core/Variabili.h"
#include "ui/DirectoryList.h"
#include "ui/EditaMessaggi.h"
#include "ui/FileList.h"
#include "ui/FormSalvaFile.h"
#include "ui/TextPreview.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <functional>

namespace {

QByteArray righe(const QByteArrayList& elenco) {
    QByteArray testo;
    for (const QByteArray& riga : elenco)
        testo += riga + "\r\n";
    return testo;
}

QByteArray leggi(const QString& percorso) {
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The lines of the text area, one per block.
QStringList righeArea(const QPlainTextEdit& area) {
    QStringList elenco;
    for (QTextBlock blocco = area.document()->begin(); blocco.isValid(); blocco = blocco.next())
        elenco += blocco.text();
    return elenco;
}

} // namespace

class TestEditaMessaggi : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void aspetto();
    void ordineDelFuoco();
    void mostraIlFile_data();
    void mostraIlFile();
    void fileDiLetturaCompleta();
    void testoOltreVentimila();
    void caratteriOltre127();
    void salvaEdEsci();
    void salvaConNuovoNome_data();
    void salvaConNuovoNome();
    void carattereNonAmmesso();
    void endScarta();
    void chiusuraDallaCasella();
    void chiusuraDelProgramma();
    void fileIlleggibile_data();
    void fileIlleggibile();
    void marksFollowTyping();
    void statusOfTheCursorLine();
    void coloursFollowThePalette();

  private:
    QString scrivi(const QString& nome, const QByteArray& contenuto);
    // Opens the editor on a file and shows it without a modal wait.
    EditaMessaggi& apri(const QString& percorso);
    // Presses "Salva " and, once the save window is up, runs azione on it. When
    // no save window appears, the program is asked to close, so nothing hangs.
    bool salvaCon(const std::function<void(FormSalvaFile&)>& azione);

    QTemporaryDir cartella_;
    Variabili v_;
    std::unique_ptr<EditaMessaggi> editor_;
};

void TestEditaMessaggi::init() {
    QVERIFY(cartella_.isValid());
    v_ = Variabili{};
}

void TestEditaMessaggi::cleanup() {
    editor_.reset();
    QDir cartella(cartella_.path());
    for (const QString& nome : cartella.entryList(QDir::Files | QDir::Hidden))
        cartella.remove(nome);
}

QString TestEditaMessaggi::scrivi(const QString& nome, const QByteArray& contenuto) {
    const QString percorso = QDir(cartella_.path()).filePath(nome);
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly) || file.write(contenuto) != contenuto.size())
        qFatal("cannot write %s", qPrintable(percorso));
    return percorso;
}

EditaMessaggi& TestEditaMessaggi::apri(const QString& percorso) {
    v_.FileSelezionato = QFile::encodeName(percorso);
    editor_ = std::make_unique<EditaMessaggi>(v_);
    editor_->show();
    return *editor_;
}

bool TestEditaMessaggi::salvaCon(const std::function<void(FormSalvaFile&)>& azione) {
    bool aperta = false;
    // A timer of this call's own: when no save window opened, it goes with
    // the call instead of firing later on what the call has left behind.
    QTimer controllo;
    controllo.setSingleShot(true);
    connect(&controllo, &QTimer::timeout, editor_.get(), [&] {
        auto* finestra = editor_->findChild<FormSalvaFile*>();
        if (!finestra || !finestra->isVisible()) {
            v_.closeRequested = true;
            return;
        }
        aperta = true;
        azione(*finestra);
    });
    controllo.start(0);
    QTest::mouseClick(editor_->Command1, Qt::LeftButton);
    return aperta;
}

void TestEditaMessaggi::aspetto() {
    auto& editor = apri(scrivi("a.tvo", righe({"c", "000A", "end"})));
    QCOMPARE(
        editor.windowTitle(),
        QStringLiteral("Edita Messaggi (max.32 caratteri. Attenzione: lo spazio è un carattere)"));
    QCOMPARE(editor.size(), QSize(654, 501));
    QCOMPARE(editor.findChild<QPushButton*>("Command1")->text(), QStringLiteral("Salva "));
    QCOMPARE(editor.findChild<QPushButton*>("Command2")->text(), QStringLiteral("End"));
    QCOMPARE(editor.findChild<QLabel*>("Label20")->text(),
             QStringLiteral("Commento memorizzato nel file (lo puoi cambiare dopo)"));
    const QFont salva = editor.Command1->font();
    QVERIFY(salva.bold() && salva.italic());
    QCOMPARE(salva.pointSizeF(), 12.0);
    const QFont end = editor.Command2->font();
    QVERIFY(end.bold() && end.italic());
    QCOMPARE(end.pointSizeF(), 13.5);

    auto* area = editor.findChild<QPlainTextEdit*>("Text1");
    QVERIFY(area);
    QCOMPARE(area->font().pointSizeF(), 9.75);
    // Fixed pitch as drawn: every character is as wide as any other.
    const QFontMetricsF metrica(area->font());
    for (const QString& carattere : QStringList{"i", "W", " ", "0", "è", "€"})
        QCOMPARE(metrica.horizontalAdvance(carattere), metrica.horizontalAdvance("M"));
    QCOMPARE(area->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    // The text area fills about the lower three quarters of the window.
    QVERIFY(area->geometry().top() < editor.height() / 3);
    QVERIFY(area->geometry().top() > editor.height() / 8);

    auto* commento = editor.findChild<QLineEdit*>("Text2");
    QCOMPARE(commento->palette().color(QPalette::Base), QPalette().color(QPalette::ToolTipBase));
}

void TestEditaMessaggi::ordineDelFuoco() {
    auto& editor = apri(scrivi("a.tvo", righe({"c", "000A", "end"})));
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.Command1->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), editor.Command1);
    const QList<QWidget*> attesi{editor.Text2, editor.Command2, editor.Text1, editor.Command1};
    for (QWidget* atteso : attesi) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), atteso);
    }
}

void TestEditaMessaggi::mostraIlFile_data() {
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<QString>("commento");
    QTest::addColumn<QStringList>("righe");

    const QString spazi19 = QString(19, u' ');
    QTest::newRow("only a comment line") << QByteArray("solo il commento\r\n")
                                         << QStringLiteral("Commento del file") << QStringList{};
    QTest::newRow("comment and one message line, nothing after")
        << righe({"Ingresso", "000BENVENUTI"}) << QStringLiteral("Ingresso") << QStringList{};
    QTest::newRow("separators, empty lines, out of range and after the end left out")
        << righe({"c", "000PRIMA           *", "---", "", "600FUORI", "512FUORI", "511ULTIMA",
                  "end", "002DOPO"})
        << QStringLiteral("c")
        << QStringList{QStringLiteral("000PRIMA           *"),
                       QStringLiteral("511ULTIMA") + QString(10, u' ')};
    QTest::newRow("short lines padded to 19")
        << righe({"c", "007", "1", "", "   ", "nota", "END"}) << QStringLiteral("c")
        << QStringList{QStringLiteral("007") + QString(16, u' '),
                       QStringLiteral("1") + QString(18, u' '), spazi19,
                       QStringLiteral("nota") + QString(15, u' ')};
    QTest::newRow("remark kept up to column 69")
        << righe({"c", "001PORTA APERTA    controllare il sensore",
                  "002" + QByteArray(16, 'x') + QByteArray(61, 'r'), "end"})
        << QStringLiteral("c")
        << QStringList{QStringLiteral("001PORTA APERTA    controllare il sensore"),
                       QStringLiteral("002") + QString(16, u'x') + QString(50, u'r')};
    QTest::newRow("mixed-case End is shown, endless ends")
        << righe({"c", "End of list", "endless", "003NO"}) << QStringLiteral("c")
        << QStringList{QStringLiteral("End of list") + QString(8, u' ')};
}

void TestEditaMessaggi::mostraIlFile() {
    QFETCH(QByteArray, contenuto);
    QFETCH(QString, commento);
    QFETCH(QStringList, righe);

    const QString percorso = scrivi("mostra.tvo", contenuto);
    auto& editor = apri(percorso);
    QCOMPARE(editor.findChild<QLabel*>("Label1")->text(), QDir::toNativeSeparators(percorso));
    QCOMPARE(editor.findChild<QLineEdit*>("Text2")->text(), commento);
    const QStringList attese = righe.isEmpty() ? QStringList{QString()} : righe + QStringList{""};
    QCOMPARE(righeArea(*editor.Text1), attese);
    QVERIFY(editor.Messaggio->text().isEmpty());
}

void TestEditaMessaggi::fileDiLetturaCompleta() {
    QByteArrayList linee{"Letti dal TARVO"};
    for (int indirizzo = 0; indirizzo < 512; ++indirizzo) {
        QByteArray testo = QByteArray::number(indirizzo).rightJustified(3, '0');
        testo += QByteArray("TESTO ") + QByteArray::number(indirizzo * 7).leftJustified(10, '.');
        linee += testo + "*";
    }
    linee += QByteArray();
    linee += "end";
    auto& editor = apri(scrivi("tutti.tvo", righe(linee)));

    const QStringList mostrate = righeArea(*editor.Text1);
    QCOMPARE(mostrate.size(), 513);
    for (int indirizzo = 0; indirizzo < 512; ++indirizzo) {
        QCOMPARE(mostrate.at(indirizzo).size(), 20);
        QCOMPARE(mostrate.at(indirizzo), QString::fromLatin1(linee.at(indirizzo + 1)));
    }
    QCOMPARE(mostrate.last(), QString());
    QCOMPARE(editor.Text2->text(), QStringLiteral("Letti dal TARVO"));
}

void TestEditaMessaggi::testoOltreVentimila() {
    QByteArrayList linee{"lungo"};
    for (int riga = 0; riga < 400; ++riga)
        linee += "001" + QByteArray::number(riga).leftJustified(16, '-') + QByteArray(50, 'r');
    linee += "end";
    const QByteArray contenuto = righe(linee);
    QVERIFY(contenuto.size() > 20000 * 1.4);
    auto& editor = apri(scrivi("lungo.tvo", contenuto));

    const QStringList mostrate = righeArea(*editor.Text1);
    QCOMPARE(mostrate.size(), 401);
    QCOMPARE(mostrate.at(399), QString::fromLatin1(linee.at(400)));
    QCOMPARE(editor.Text1->document()->characterCount() - 1, 400 * 70);
}

void TestEditaMessaggi::caratteriOltre127() {
    QByteArrayList linee{QByteArray("Caff\xE8 \x80 5")};
    for (int riga = 0; riga < 8; ++riga) {
        QByteArray testo = QByteArray::number(riga).rightJustified(3, '0');
        for (int byte = 0; byte < 16; ++byte)
            testo += static_cast<char>(0x80 + riga * 16 + byte);
        linee += testo + "\t*";
    }
    linee += "end";
    auto& editor = apri(scrivi("alti.tvo", righe(linee)));

    QCOMPARE(editor.Text2->text(), QStringLiteral("Caffè € 5"));
    const QStringList mostrate = righeArea(*editor.Text1);
    QCOMPARE(mostrate.size(), 9);
    QCOMPARE(mostrate.at(0).mid(3, 1), QStringLiteral("€"));
    QCOMPARE(mostrate.at(0).at(4), QChar(0x81));
    QCOMPARE(mostrate.at(1).mid(3 + 0xF, 1), QStringLiteral("Ÿ"));
    QCOMPARE(mostrate.at(2).at(3), QChar(0xA0));
    QCOMPARE(mostrate.at(6).mid(3 + 8, 1), QStringLiteral("è"));
    QCOMPARE(mostrate.at(7).mid(3 + 15, 1), QStringLiteral("ÿ"));

    const QString nuovo = QDir(cartella_.path()).filePath("copia.tvo");
    QVERIFY(salvaCon([&](FormSalvaFile& finestra) {
        finestra.Dir1->setPath(cartella_.path());
        finestra.Text1->setText("copia.tvo");
        finestra.Text2->setText(QStringLiteral("è"));
        QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    }));
    QByteArray corpo;
    for (int riga = 1; riga <= 8; ++riga)
        corpo += linee.at(riga) + "\r\n";
    QCOMPARE(v_.TestoMessaggi, corpo);
    QCOMPARE(leggi(nuovo), "\xE8\r\n" + corpo + "\r\nend\r\n");
}

void TestEditaMessaggi::salvaEdEsci() {
    const QByteArray corpo = righe({"000UNO", "001DUE               remark"});
    const QString percorso = scrivi("a.tvo", righe({"c"}) + corpo + righe({"end"}));
    auto& editor = apri(percorso);
    const QStringList prima = righeArea(*editor.Text1);
    for (int volta = 0; volta < 2; ++volta) {
        QVERIFY(salvaCon(
            [](FormSalvaFile& finestra) { QTest::mouseClick(finestra.Command2, Qt::LeftButton); }));
        QVERIFY(editor.isVisible());
        QVERIFY(!editor.findChild<FormSalvaFile*>());
        QCOMPARE(righeArea(*editor.Text1), prima);
        QCOMPARE(v_.FileSelezionato, QFile::encodeName(percorso));
        QCOMPARE(QDir(cartella_.path()).entryList(QDir::Files), QStringList{"a.tvo"});
    }
}

void TestEditaMessaggi::salvaConNuovoNome_data() {
    QTest::addColumn<QString>("testoArea");
    QTest::addColumn<QByteArray>("corpo");

    QTest::newRow("as loaded, ending in a line end")
        << QString() << righe({"000UNO" + QByteArray(13, ' '), "nota" + QByteArray(15, ' ')});
    QTest::newRow("last line without a line end")
        << QStringLiteral("000A\n001B") << QByteArray("000A\r\n001B");
    QTest::newRow("empty lines and a long line kept")
        << QStringLiteral("\n\n002") + QString(40, u'z') + QStringLiteral("\n")
        << QByteArray("\r\n\r\n002") + QByteArray(40, 'z') + "\r\n";
    QTest::newRow("empty text") << QStringLiteral("") << QByteArray();
}

void TestEditaMessaggi::salvaConNuovoNome() {
    QFETCH(QString, testoArea);
    QFETCH(QByteArray, corpo);

    const QString vecchio = scrivi("vecchio.tvo", righe({"vecchio", "000UNO", "nota", "end"}));
    auto& editor = apri(vecchio);
    if (!testoArea.isNull()) {
        editor.Text1->clear();
        editor.Text1->setFocus();
        digitaTesto(editor.Text1, testoArea.section(u'\n', 0, 0));
        for (const QString& riga : testoArea.split(u'\n').mid(1)) {
            QTest::keyClick(editor.Text1, Qt::Key_Return);
            digitaTesto(editor.Text1, riga);
        }
    }
    const QString nuovo = QDir(cartella_.path()).filePath("nuovo.tvo");
    QVERIFY(salvaCon([&](FormSalvaFile& finestra) {
        finestra.Dir1->setPath(cartella_.path());
        finestra.Text1->setText("nuovo.tvo");
        finestra.Text2->setText("commento nuovo");
        QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    }));
    QCOMPARE(leggi(nuovo), "commento nuovo\r\n" + corpo + "\r\nend\r\n");
    QCOMPARE(v_.TestoMessaggi, corpo);
    QCOMPARE(v_.FileSelezionato, QFile::encodeName(nuovo));
    QVERIFY(editor.isVisible());
    QCOMPARE(editor.Label1->text(), QDir::toNativeSeparators(vecchio));
    QCOMPARE(leggi(vecchio), righe({"vecchio", "000UNO", "nota", "end"}));
}

void TestEditaMessaggi::carattereNonAmmesso() {
    auto& editor = apri(scrivi("a.tvo", righe({"c", "000A", "end"})));
    const QByteArray caricato = v_.TestoMessaggi;
    editor.Text1->setFocus();
    QTest::keyClick(editor.Text1, Qt::Key_End, Qt::ControlModifier);
    digitaTesto(editor.Text1, QStringLiteral("001Łód"));
    QVERIFY(!salvaCon([](FormSalvaFile&) {}));
    QVERIFY(editor.Messaggio->text().contains(QStringLiteral("«Ł»")));
    QVERIFY(editor.Messaggio->text().contains(QStringLiteral("riga 2")));
    QCOMPARE(v_.TestoMessaggi, caricato);

    v_.closeRequested = false;
    editor.Text1->setPlainText(QStringLiteral("000A\n\n002 ok 😀\n"));
    QVERIFY(!salvaCon([](FormSalvaFile&) {}));
    QVERIFY(editor.Messaggio->text().contains(QStringLiteral("«😀»")));
    QVERIFY(editor.Messaggio->text().contains(QStringLiteral("riga 3")));
    QCOMPARE(v_.TestoMessaggi, caricato);

    v_.closeRequested = false;
    editor.Text1->setPlainText(QStringLiteral("001Lód\n"));
    QVERIFY(salvaCon([](FormSalvaFile& finestra) { finestra.close(); }));
    QVERIFY(editor.Messaggio->text().isEmpty());
    QCOMPARE(v_.TestoMessaggi, QByteArray("001L\xF3"
                                          "d\r\n"));
}

void TestEditaMessaggi::endScarta() {
    const QString percorso = scrivi("a.tvo", righe({"c", "000A", "end"}));
    auto& editor = apri(percorso);
    editor.hide();
    const QByteArray caricato = v_.TestoMessaggi;
    QTimer::singleShot(0, &editor, [&] {
        QTest::keyClicks(editor.Text1, "cambiato");
        QTest::mouseClick(editor.Command2, Qt::LeftButton);
    });
    editor.mostraModale();
    QVERIFY(!editor.isVisible());
    QCOMPARE(v_.TestoMessaggi, caricato);
    QCOMPARE(v_.FileSelezionato, QFile::encodeName(percorso));
    QCOMPARE(QDir(cartella_.path()).entryList(QDir::Files), QStringList{"a.tvo"});
    QCOMPARE(leggi(percorso), righe({"c", "000A", "end"}));
}

void TestEditaMessaggi::chiusuraDallaCasella() {
    auto& editor = apri(scrivi("a.tvo", righe({"c", "000A", "end"})));
    editor.hide();
    QTimer::singleShot(0, &editor, [&] { editor.close(); });
    editor.mostraModale();
    QVERIFY(!editor.isVisible());
    QCOMPARE(QDir(cartella_.path()).entryList(QDir::Files), QStringList{"a.tvo"});
}

void TestEditaMessaggi::chiusuraDelProgramma() {
    auto& editor = apri(scrivi("a.tvo", righe({"c", "000A", "end"})));
    editor.hide();
    // The request comes while the save window is shown inside the editor:
    // both return, neither writes.
    QTimer::singleShot(0, &editor, [&] {
        QVERIFY(salvaCon([&](FormSalvaFile& finestra) {
            finestra.Dir1->setPath(cartella_.path());
            finestra.Text1->setText("nuovo.tvo");
            v_.closeRequested = true;
        }));
    });
    editor.mostraModale();
    QVERIFY(!editor.isVisible());
    QCOMPARE(QDir(cartella_.path()).entryList(QDir::Files), QStringList{"a.tvo"});
}

void TestEditaMessaggi::fileIlleggibile_data() {
    QTest::addColumn<QString>("nome");
    QTest::addColumn<bool>("cartella");

    QTest::newRow("missing file") << QStringLiteral("manca.tvo") << false;
    QTest::newRow("a folder") << QStringLiteral("cartella.tvo") << true;
    QTest::newRow("empty file") << QStringLiteral("vuoto.tvo") << false;
}

void TestEditaMessaggi::fileIlleggibile() {
    QFETCH(QString, nome);
    QFETCH(bool, cartella);

    const QString percorso = QDir(cartella_.path()).filePath(nome);
    if (cartella)
        QVERIFY(QDir().mkpath(percorso));
    if (nome == "vuoto.tvo")
        scrivi(nome, {});
    auto& editor = apri(percorso);
    QCOMPARE(editor.Label1->text(), QDir::toNativeSeparators(percorso));
    QVERIFY(editor.Messaggio->isVisible());
    QVERIFY(editor.Messaggio->text().contains(QDir::toNativeSeparators(percorso)));
    QCOMPARE(editor.Text1->toPlainText(), QString());
    QCOMPARE(editor.Text2->text(), QStringLiteral("Commento del file"));

    // The editor stays usable: new texts typed in can be saved as a new file.
    QTest::keyClicks(editor.Text1, "000NUOVO");
    const QString nuovo = QDir(cartella_.path()).filePath("nuovo.tvo");
    QVERIFY(salvaCon([&](FormSalvaFile& finestra) {
        finestra.Dir1->setPath(cartella_.path());
        finestra.Text1->setText("nuovo.tvo");
        QTest::mouseClick(finestra.Command1, Qt::LeftButton);
    }));
    QCOMPARE(leggi(nuovo), QByteArray("\r\n000NUOVO\r\nend\r\n"));
    QVERIFY(editor.Messaggio->text().contains(QDir::toNativeSeparators(percorso)));
    if (cartella)
        QVERIFY(QDir(percorso).removeRecursively());
}

// Typed mistakes are marked for screen readers and counted as soon as they are
// typed; a line end typed with Shift counts as the line end saving writes.
void TestEditaMessaggi::marksFollowTyping() {
    auto& editor = apri(scrivi("a.tvo", righe({"c", "000A", "end"})));
    auto* margine = editor.findChild<QWidget*>("lineMarks");
    auto* riepilogo = editor.findChild<QLabel*>("programmingSummary");
    QVERIFY(margine && riepilogo);
    editor.Text1->setFocus();
    QTest::keyClick(editor.Text1, Qt::Key_End, Qt::ControlModifier);
    for (const char* riga : {"12 CORTO", "000DOPPIO", "end", "005DOPO"}) {
        QTest::keyClicks(editor.Text1, riga);
        QTest::keyClick(editor.Text1, Qt::Key_Return);
    }
    const QString segni = margine->accessibleDescription();
    for (const QString& atteso :
         {QStringLiteral("riga 2: senza indirizzo"),
          QStringLiteral("riga 3: indirizzo 000 già alla riga 1"),
          QStringLiteral("riga 4: riga di fine"),
          QStringLiteral("riga 5: dopo la riga di fine (riga 4): mai letta")})
        QVERIFY2(segni.contains(atteso), qPrintable(segni));
    QCOMPARE(riepilogo->text(),
             QStringLiteral("Programmazione: 2 messaggi da inviare, 1 riga "
                            "saltata, 2 righe dopo la fine, 1 indirizzo doppio"));

    editor.Text1->selectAll();
    QTest::keyClicks(editor.Text1, "000A");
    QTest::keyClick(editor.Text1, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(editor.Text1, "001B");
    QTRY_COMPARE(righeArea(*editor.Text1), (QStringList{"000A", "001B"}));
    QCOMPARE(riepilogo->text(),
             QStringLiteral("Programmazione: 2 messaggi da inviare, 0 righe saltate"));
    QCOMPARE(margine->accessibleDescription(), QStringLiteral("Nessuna riga segnata"));
}

void TestEditaMessaggi::statusOfTheCursorLine() {
    auto& editor = apri(
        scrivi("a.tvo", righe({"c", "000DOPPIO", "001TESTO DI 17 CARAT", "nota\tTAB", "end"})));
    auto* stato = editor.findChild<QLabel*>("lineStatus");
    auto* anteprima = editor.findChild<TextPreview*>();
    QVERIFY(stato && anteprima);
    editor.Text1->setFocus();
    QTest::keyClick(editor.Text1, Qt::Key_Down);
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(editor.Text1, Qt::Key_Right);
    QCOMPARE(stato->text(), QStringLiteral("Riga 2, colonna 8 · testo, carattere 5 di 16 · "
                                           "inviata all'indirizzo 001"));
    QCOMPARE(anteprima->text(), QStringLiteral("TESTO DI 17 CARA"));
    QVERIFY(editor.findChild<QLabel*>("beyondTheText")->text().contains(QStringLiteral("«T»")));

    QTest::keyClick(editor.Text1, Qt::Key_Down);
    QTest::keyClick(editor.Text1, Qt::Key_Home);
    QCOMPARE(stato->text(),
             QStringLiteral("Riga 3, colonna 1 · indirizzo, cifra 1 di 3 · una tabulazione alla "
                            "colonna 5 sposta le colonne; senza indirizzo (le colonne 1-3 non "
                            "sono tre cifre): non inviata"));
    QVERIFY(editor.Text1->accessibleDescription().startsWith(QStringLiteral("Riga 3: ")));
}

void TestEditaMessaggi::coloursFollowThePalette() {
    auto& editor = apri(scrivi("a.tvo", righe({"c", "000BENVENUTI", "end"})));
    const auto sfondoDelTesto = [&] {
        const QTextBlock blocco = editor.Text1->document()->firstBlock();
        for (const QTextLayout::FormatRange& intervallo : blocco.layout()->formats())
            if (intervallo.start == 3)
                return intervallo.format.background().color();
        return QColor();
    };
    QVERIFY(sfondoDelTesto().lightness() > 128);
    QPalette scura = editor.Text1->palette();
    scura.setColor(QPalette::Base, QColor(30, 30, 30));
    scura.setColor(QPalette::Text, QColor(220, 220, 220));
    editor.Text1->setPalette(scura);
    QVERIFY(sfondoDelTesto().lightness() < 100);
}

QTEST_MAIN(TestEditaMessaggi)
#include "tst_editamessaggi.moc"

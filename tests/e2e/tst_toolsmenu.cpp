#include "MessageFiles.h"
#include "WindowFixture.h"
#include "files/UnitCopies.h"
#include "ui/diagnosis/LineDiagnosisWindow.h"
#include "ui/main/ComparisonWindow.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

// The menu "Strumenti" of the main window against a simulated unit that
// differs from a 512-text file at three addresses.
class TestToolsMenu : public QObject {
    Q_OBJECT

    static QByteArray digits(int address) {
        return QByteArray::number(address).rightJustified(3, '0');
    }

    static QAction* entry(WindowFixture& f, const QString& text) {
        for (QAction* action : f.control<QMenu>("Strumenti")->actions())
            if (action->text().remove(u'&').startsWith(text))
                return action;
        qFatal("menu entry %s missing", qPrintable(text));
    }

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void compareThenSendOnlyTheDifferingWithACopy() {
        const QDir copies(UnitCopies::folder());
        QVERIFY(QDir(copies).removeRecursively());
        WindowFixture f;
        QByteArrayList lines;
        for (int address = 0; address < 512; ++address) {
            lines += digits(address) + "TESTO " + digits(address);
            const bool differs = address == 4 || address == 200 || address == 511;
            f.unit.setText(address, (differs ? "VECCHIO " : "TESTO ") + digits(address));
        }
        f.selectFile(fileOf(lines));
        QAction* compare = entry(f, QStringLiteral("Confronta con il TARVO"));
        QAction* send = entry(f, QStringLiteral("Invia solo i testi diversi"));

        // While either runs, its entries are off exactly as the buttons are,
        // and the unit, the port it talks to and the echo setting cannot be
        // changed.
        QAction* echo = entry(f, QStringLiteral("Linea con eco"));
        QAction* ports = entry(f, QStringLiteral("Porte presenti"));
        QList<bool> enabledMeanwhile;
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&] {
            if (enabledMeanwhile.isEmpty())
                enabledMeanwhile = {compare->isEnabled(),
                                    send->isEnabled(),
                                    f.button("Command1")->isEnabled(),
                                    f.box("IdStart")->isReadOnly(),
                                    f.box("Text3")->isReadOnly(),
                                    echo->isEnabled(),
                                    ports->isEnabled()};
        });
        compare->trigger();
        QCOMPARE(enabledMeanwhile, (QList<bool>{false, false, false, true, true, false, false}));
        QVERIFY(echo->isEnabled() && ports->isEnabled());
        QVERIFY(!f.box("IdStart")->isReadOnly() && !f.box("Text3")->isReadOnly());
        QVERIFY(compare->isEnabled() && send->isEnabled());
        auto* window = f.window->findChild<ComparisonWindow*>();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->listText(),
                 QStringLiteral("004 file «TESTO 004       » unità «VECCHIO 004     »\n"
                                "200 file «TESTO 200       » unità «VECCHIO 200     »\n"
                                "511 file «TESTO 511       » unità «VECCHIO 511     »\n"
                                "509 testi uguali, 3 diversi\n"));
        QCOMPARE(f.unit.writesReceived(), 0);

        auto* outdated = window->findChild<QWidget*>(QStringLiteral("nonAggiornato"));
        QVERIFY(outdated && !outdated->isVisible());
        send->trigger();
        QCOMPARE(f.unit.writesReceived(), 3);
        // The list of three no longer tells what the unit holds.
        QVERIFY(outdated->isVisible());
        QCOMPARE(f.unit.framesReceived(), 512 + 512 + 3 + 3);
        QTRY_COMPARE(f.box("Text2")->text(),
                     QStringLiteral("scritti 3 testi, 509 erano già uguali"));
        const QStringList kept = copies.entryList({QStringLiteral("*-&C1.tvo")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        const QString copy = QDir::toNativeSeparators(copies.filePath(kept[0]));
        QTRY_VERIFY(f.box("Text1")->text().endsWith(copy));
        QVERIFY(contentOf(copy).contains("\r\n200VECCHIO 200     *\r\n"));

        compare->trigger();
        QVERIFY(window->listText().endsWith(QStringLiteral("512 testi uguali, 0 diversi\n")));
        QVERIFY(!outdated->isVisible());
        QCOMPARE(f.unit.writesReceived(), 3);

        // A file refused before the port opens writes nothing: the list holds.
        f.selectFile("Nessun messaggio\r\nnota\r\nend\r\n", QStringLiteral("vuoto.tvo"));
        QTest::mouseClick(f.button("Command1"), Qt::LeftButton);
        QCOMPARE(f.unit.framesReceived(), 512 + 512 + 3 + 3 + 512);
        QVERIFY(!outdated->isVisible());

        // Escape closes the window, as "Chiudi" does.
        QVERIFY(window->findChild<QPushButton*>(QStringLiteral("chiudi")));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->findChild<QWidget*>(QStringLiteral("differenze")), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    // A control byte in a unit's text is named in hex, not left invisible.
    void aControlByteInAUnitTextIsNamed() {
        WindowFixture f;
        f.unit.setText(7, "ABCDEFGHIJKLMNO\r");
        f.selectFile(fileOf({"007TESTO"}));
        entry(f, QStringLiteral("Confronta con il TARVO"))->trigger();
        auto* window = f.window->findChild<ComparisonWindow*>();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->listText(),
                 QStringLiteral("007 file «TESTO           » unità «ABCDEFGHIJKLMNO⟨0D⟩»\n"
                                "0 testi uguali, 1 diverso\n"));
    }

    // During a presence test, which leaves the commands on, the port list
    // takes no port and the echo setting stays as the test read it.
    void thePresenceTestKeepsTheLine() {
        WindowFixture f;
        QAction* echo = entry(f, QStringLiteral("Linea con eco"));
        QList<bool> meanwhile;
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&] {
            meanwhile = {echo->isEnabled(), entry(f, QStringLiteral("Porte presenti"))->isEnabled(),
                         f.box("Text3")->isReadOnly(), f.box("IdStart")->isReadOnly()};
        });
        QTest::mouseClick(f.button("Command3"), Qt::LeftButton);
        QCOMPARE(f.text2(), QByteArray("Tarvo risponde TA"));
        QCOMPARE(meanwhile, (QList<bool>{false, false, true, true}));
        QVERIFY(echo->isEnabled() && !f.box("Text3")->isReadOnly());
    }

    // The diagnosis names a line that echoes; with "Linea con eco" on, shown
    // beside the port box, a file goes through that line and is verified.
    void diagnosisThenProgrammingThroughALineThatEchoes() {
        SimulatedUnit::Options options;
        options.echo = true;
        WindowFixture f(options);
        auto* indicator = f.control<QLabel>("lineaConEco");
        QVERIFY(indicator->isHidden());
        entry(f, QStringLiteral("Diagnosi della linea"))->trigger();
        auto* window = f.window->findChild<LineDiagnosisWindow*>();
        QVERIFY(window && window->isVisible());
        const QString finding = window->findChild<QLabel*>(QStringLiteral("conclusione"))->text();
        QVERIFY2(finding.startsWith(QStringLiteral("La linea ripete ogni trama")),
                 qPrintable(finding));
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("copia")), Qt::LeftButton);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied.startsWith(QStringLiteral("Porta %1, identificativo &C1, linea con eco: no\n"
                                                 "Lettura dell'indirizzo 000 con &C1")
                                      .arg(f.unit.devicePath())));
        QVERIFY(copied.endsWith(finding + QLatin1Char('\n')));
        QCOMPARE(f.unit.writesReceived(), 0);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());

        entry(f, QStringLiteral("Linea con eco"))->trigger();
        QVERIFY(indicator->isVisible());
        QVERIFY(f.exchange.lineEchoes());
        f.selectFile(fileOf({"000PRIMO", "001SECONDO"}));
        QTest::mouseClick(f.button("Command1"), Qt::LeftButton);
        QTRY_COMPARE(f.text2(), QByteArray("DATI UGUALI  TUTTO OK "));
        QCOMPARE(f.unit.text(1), QByteArray("SECONDO         "));
        entry(f, QStringLiteral("Linea con eco"))->trigger();
        QVERIFY(indicator->isHidden());
        QVERIFY(!f.exchange.lineEchoes());
    }
};

QTEST_MAIN(TestToolsMenu)
#include "tst_toolsmenu.moc"

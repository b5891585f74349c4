#include "DeviceFixture.h"
#include "ScriptedPeer.h"
#include "WhenShown.h"
#include "core/TreCifre.h"
#include "ui/FormSalvaFile.h"

#include <QDir>
#include <QPushButton>
#include <QtTest>

class TestLetturaTesti : public QObject {
    Q_OBJECT

    // What the operator saw when the run stopped to wait: at the save window
    // or at the acknowledgement button.
    struct Seen {
        int saveWindows = 0;
        int acknowledgements = 0;
        QByteArray text1;
        QByteArray text2;
        bool portOpen = false;
        bool commandsDisabled = false;
        QString caption;
    };

    // Reads all texts; a save window that opens saves under `name` (or is
    // left with "Esci senza salvare" when the name is empty).
    Seen run(DeviceFixture& f, const QString& name) {
        Seen seen;
        const auto snapshot = [&] {
            seen.text1 = f.text1();
            seen.text2 = f.text2();
            seen.portOpen = f.portOpen();
            seen.commandsDisabled = !f.finestra->LeggiTesti->isEnabled();
        };
        WhenShown<FormSalvaFile> saver([&](FormSalvaFile& window) {
            ++seen.saveWindows;
            snapshot();
            if (name.isEmpty()) {
                QTest::mouseClick(window.Command2, Qt::LeftButton);
                return;
            }
            window.Text1->setText(name);
            QTest::mouseClick(window.Command1, Qt::LeftButton);
        });
        WhenShown<QPushButton> clicker(
            [&](QPushButton& button) {
                ++seen.acknowledgements;
                snapshot();
                seen.caption = button.text();
                QTest::mouseClick(&button, Qt::LeftButton);
            },
            QStringLiteral("Command4"));
        QTest::mouseClick(f.finestra->LeggiTesti, Qt::LeftButton);
        return seen;
    }

  private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(m_folder.path())); }

    void readsAll512TextsAndSavesThem() {
        DeviceFixture f;
        for (int address = 0; address < 512; ++address)
            f.unit.setText(address, "T" + QByteArray::number(address) + "\xe8\x80");
        f.unit.setText(511, "ultimo testo OK!");
        const Seen seen = run(f, QStringLiteral("tutti.tvo"));
        QCOMPARE(seen.saveWindows, 1);
        QCOMPARE(seen.acknowledgements, 0);
        QCOMPARE(seen.text1, QByteArray("0R511"));
        QCOMPARE(seen.text2, QByteArray("letti tutti"));
        QVERIFY(seen.portOpen);
        QVERIFY(seen.commandsDisabled);

        QFile saved(QDir(m_folder.path()).filePath(QStringLiteral("tutti.tvo")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArrayList lines = saved.readAll().split('\n');
        // An empty comment, 512 lines, the empty line before "end", "end".
        QCOMPARE(lines.size(), 1 + 512 + 2 + 1);
        QCOMPARE(lines.first(), QByteArray("\r"));
        for (int address = 0; address < 512; ++address) {
            const QByteArray& line = lines[1 + address];
            QCOMPARE(line.size() + 1, 22);
            Variabili digits;
            digits.NumeroDaFormattare = qint16(address);
            TreCifre(digits);
            QCOMPARE(line, digits.NumeroFormattato + f.unit.text(address) + "*\r");
        }
        QCOMPARE(lines[513], QByteArray("\r"));
        QCOMPARE(lines[514], QByteArray("end\r"));
        QCOMPARE(f.v.Messaggi[7], f.unit.text(7));
        QCOMPARE(f.v.FileSelezionato, QFile::encodeName(saved.fileName()));
        QVERIFY(!f.portOpen());
        QVERIFY(f.finestra->LeggiTesti->isEnabled());
        QCOMPARE(f.unit.framesReceived(), 512);
        QCOMPARE(f.unit.frames().at(42), QByteArray("&C10R042\r"));
    }

    void leavingTheSaveWindowWritesNothing() {
        DeviceFixture f;
        f.v.FileSelezionato = "prima.tvo";
        const QStringList before = QDir(m_folder.path()).entryList(QDir::Files);
        const Seen seen = run(f, QString());
        QCOMPARE(seen.saveWindows, 1);
        QCOMPARE(f.v.FileSelezionato, QByteArray("prima.tvo"));
        QCOMPARE(QDir(m_folder.path()).entryList(QDir::Files), before);
        QVERIFY(!f.portOpen());
    }

    void aUnitThatStopsAnsweringIsNotSaved() {
        SimulatedUnit::Options options;
        options.silentFrom = 101;
        DeviceFixture f(options);
        const Seen seen = run(f, QStringLiteral("parziale.tvo"));
        QCOMPARE(seen.saveWindows, 0);
        QCOMPARE(seen.acknowledgements, 1);
        QCOMPARE(seen.text1, QByteArray("0R100"));
        QCOMPARE(seen.text2, QByteArray("Errore seriale. Controlla identificativo"));
        QVERIFY(seen.caption.endsWith(QStringLiteral(" Clicca Qui")));
        QVERIFY(seen.caption.contains(QStringLiteral("non risponde")));
        QCOMPARE(f.v.TestoMessaggi.count('\n'), 100);
        QVERIFY(f.v.TestoMessaggi.startsWith("000"));
        QVERIFY(f.v.TestoMessaggi.endsWith("099                *\r\n"));
        QVERIFY(!QFile::exists(QDir(m_folder.path()).filePath(QStringLiteral("parziale.tvo"))));
        QVERIFY(!f.portOpen());
        QVERIFY(f.finestra->LeggiTesti->isEnabled());
        QVERIFY(f.finestra->Command4->isHidden());
    }

    void noUnitAtAll() {
        ScriptedPeer quiet;
        DeviceFixture f;
        f.finestra->Text3->setText(QString::fromLocal8Bit(quiet.portText()));
        const Seen seen = run(f, QStringLiteral("niente.tvo"));
        QCOMPARE(seen.acknowledgements, 1);
        QCOMPARE(seen.text1, QByteArray("0R000"));
        QCOMPARE(seen.text2, QByteArray("Errore seriale. Controlla identificativo"));
        QCOMPARE(quiet.frames(), QByteArrayList{"&C10R000\r"});
        QCOMPARE(seen.saveWindows, 0);
    }

    void aReplyOfTheWrongLengthIsNotTakenAsText() {
        ScriptedPeer peer;
        peer.reply("&C10R16TESTO DI VENTI CARATT\r");
        DeviceFixture f;
        f.finestra->Text3->setText(QString::fromLocal8Bit(peer.portText()));
        const Seen seen = run(f, QStringLiteral("lungo.tvo"));
        QCOMPARE(seen.saveWindows, 0);
        QCOMPARE(seen.acknowledgements, 1);
        QVERIFY(seen.caption.contains(QStringLiteral("non valida")));
        QVERIFY(seen.text2.contains("non valida"));
        QVERIFY(f.v.TestoMessaggi.isEmpty());
        QVERIFY(!QFile::exists(QDir(m_folder.path()).filePath(QStringLiteral("lungo.tvo"))));
    }

    void aPortThatCannotBeOpenedIsReported() {
        DeviceFixture f;
        f.finestra->Text3->setText(QStringLiteral("/dev/tarvo-missing"));
        const Seen seen = run(f, QStringLiteral("niente.tvo"));
        QCOMPARE(seen.acknowledgements + seen.saveWindows, 0);
        QVERIFY2(f.finestra->Text2->text().contains(QStringLiteral("non esiste")),
                 qPrintable(f.finestra->Text2->text()));
        QVERIFY(f.finestra->LeggiTesti->isEnabled());
    }

    void aUnitThatVanishesIsNamed() {
        DeviceFixture f;
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&f] {
            if (f.unit.framesReceived() == 10)
                f.unit.vanish();
        });
        const Seen seen = run(f, QStringLiteral("niente.tvo"));
        QCOMPARE(seen.acknowledgements, 1);
        QVERIFY(seen.caption.contains(QStringLiteral("Porta seriale persa")));
        QVERIFY2(seen.text2.contains("interrotto"), seen.text2.constData());
        QVERIFY(!f.portOpen());
    }

  private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(TestLetturaTesti)
#include "tst_letturatesti.moc"

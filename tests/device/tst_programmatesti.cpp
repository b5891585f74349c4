#include "DeviceFixture.h"
#include "ScriptedPeer.h"
#include "WhenShown.h"
#include "device/ProgrammaTesti.h"

#include <QPushButton>
#include <QtTest>

namespace {

// What the acknowledgement button and the status boxes showed while the run
// waited for the click; the click is then given.
struct Acknowledgement {
    QString caption;
    QByteArray text1;
    QByteArray text2;
    bool commandsDisabled = false;
};

QByteArray fileOf(const QByteArrayList& bodyLines) {
    QByteArray content = "Prova tarvodisp\r\n";
    for (const QByteArray& line : bodyLines)
        content += line + "\r\n";
    return content + "end\r\n";
}

QByteArray writeFrame(const QByteArray& record) {
    return "&C10W016" + record.leftJustified(19) + '\r';
}

} // namespace

class TestProgrammaTesti : public QObject {
    Q_OBJECT

    // Runs the operation; every acknowledgement is recorded and clicked.
    QList<Acknowledgement> run(DeviceFixture& f) {
        QList<Acknowledgement> seen;
        WhenShown<QPushButton> clicker(
            [&](QPushButton& button) {
                seen += {button.text(), f.text1(), f.text2(), !f.finestra->Command1->isEnabled()};
                QTest::mouseClick(&button, Qt::LeftButton);
            },
            QStringLiteral("Command4"));
        QTest::mouseClick(f.finestra->Command1, Qt::LeftButton);
        return seen;
    }

  private slots:
    void writesAndVerifiesEveryRecordInFileOrder() {
        DeviceFixture f;
        f.selectFile(fileOf({"000BENVENUTI       *", "---", "001PORTA APERTA    controllare", "",
                             "002ALLARME", "nota: testi provvisori", "600FUORI RANGE",
                             "511\xe0\xe8\xec\xf2\xf9\x80 fine"}));
        const QList<Acknowledgement> acks = run(f);
        QVERIFY(acks.isEmpty());
        QCOMPARE(f.text2(), QByteArray("DATI UGUALI  TUTTO OK "));
        QCOMPARE(f.unit.text(0), QByteArray("BENVENUTI       "));
        QCOMPARE(f.unit.text(1), QByteArray("PORTA APERTA    "));
        QCOMPARE(f.unit.text(2), QByteArray("ALLARME         "));
        QCOMPARE(f.unit.text(511), QByteArray("\xe0\xe8\xec\xf2\xf9\x80 fine").leftJustified(16));
        const QByteArrayList expected = {writeFrame("000BENVENUTI       "),
                                         writeFrame("001PORTA APERTA    "),
                                         writeFrame("002ALLARME"),
                                         writeFrame("511\xe0\xe8\xec\xf2\xf9\x80 fine"),
                                         "&C10R000\r",
                                         "&C10R001\r",
                                         "&C10R002\r",
                                         "&C10R511\r"};
        QCOMPARE(f.unit.frames(), expected);
        QCOMPARE(f.v.Messaggi[1], QByteArray("001PORTA APERTA    "));
        QCOMPARE(f.v.Messaggi[3], QByteArray("511\xe0\xe8\xec\xf2\xf9\x80 fine").leftJustified(19));
        QVERIFY(!f.portOpen());
        QVERIFY(f.finestra->Command1->isEnabled());
        QVERIFY(f.finestra->Command4->isHidden());
    }

    void aFileWithoutRecordsSendsNothing() {
        DeviceFixture f;
        f.selectFile("solo commento\r\n\r\nend\r\n");
        f.finestra->Text1->setText(QStringLiteral("prima"));
        QVERIFY(run(f).isEmpty());
        QCOMPARE(f.text2(), QByteArray("DATI UGUALI  TUTTO OK "));
        QCOMPARE(f.text1(), QByteArray("prima"));
        QCOMPARE(f.unit.framesReceived(), 0);
        QVERIFY(!f.portOpen());
    }

    void aRefusedWriteStopsBeforeAnyRead() {
        SimulatedUnit::Options options;
        options.refuseWriteFrom = 3;
        DeviceFixture f(options);
        f.selectFile(fileOf({"000UNO", "001DUE", "002TRE", "003QUATTRO"}));
        const QList<Acknowledgement> acks = run(f);
        QCOMPARE(acks.size(), 1);
        QCOMPARE(acks[0].caption, QStringLiteral(" Errore risposta  Clicca Qui"));
        QCOMPARE(acks[0].text1, QByteArray("&C10WN"));
        QCOMPARE(acks[0].text2, QByteArray("Programmo scritte"));
        QVERIFY(acks[0].commandsDisabled);
        QCOMPARE(f.unit.writesReceived(), 3);
        QCOMPARE(f.unit.framesReceived(), 3);
        QCOMPARE(f.v.Messaggi[2], QByteArray("002TRE             "));
        QCOMPARE(f.v.TestoErrore, QByteArray(" Errore risposta "));
        // After the click the button is hidden and the commands work again.
        QVERIFY(f.finestra->Command4->isHidden());
        QVERIFY(f.finestra->Command1->isEnabled());
        QVERIFY(!f.portOpen());
    }

    void noReplyInEitherPhase_data() {
        QTest::addColumn<int>("silentFrom");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QByteArray>("text1");
        QTest::addColumn<QByteArray>("text2");
        QTest::newRow("while writing")
            << 1 << QStringLiteral(" Errore risposta  Clicca Qui")
            << QByteArray("1234567errore seriale ") << QByteArray("Programmo scritte");
        QTest::newRow("while verifying")
            << 3 << QStringLiteral("Errore Dati non scritti giusti. Clicca Qui")
            << QByteArray("UNO             ") << QByteArray("errore seriale ");
    }
    void noReplyInEitherPhase() {
        QFETCH(int, silentFrom);
        QFETCH(QString, caption);
        QFETCH(QByteArray, text1);
        QFETCH(QByteArray, text2);
        SimulatedUnit::Options options;
        options.silentFrom = silentFrom;
        DeviceFixture f(options);
        f.selectFile(fileOf({"000UNO", "001DUE"}));
        const QList<Acknowledgement> acks = run(f);
        QCOMPARE(acks.size(), 1);
        QCOMPARE(acks[0].caption, caption);
        QCOMPARE(acks[0].text1, text1);
        QCOMPARE(acks[0].text2, text2);
        QVERIFY(!f.portOpen());
    }

    void twoRecordsForOneAddressAreBothWrittenAndTheFirstFailsVerification() {
        DeviceFixture f;
        f.selectFile(fileOf({"007abc", "007ABC"}));
        const QList<Acknowledgement> acks = run(f);
        QCOMPARE(acks.size(), 1);
        QCOMPARE(acks[0].caption, QStringLiteral("Errore Dati non scritti giusti. Clicca Qui"));
        QCOMPARE(acks[0].text1, QByteArray("abc             "));
        QCOMPARE(acks[0].text2, QByteArray("ABC             "));
        QCOMPARE(f.unit.writesReceived(), 2);
        QCOMPARE(f.unit.frames().last(), QByteArray("&C10R007\r"));
    }

    void aTextReadBackWithATrailingSpaceMoreDiffers() {
        ScriptedPeer peer;
        peer.reply("&C10WR\r");
        peer.reply("&C10R16HELLO            \r");
        Variabili v;
        v.Identificativo = "&C1";
        FormSeriale seriale(v);
        FormScriveMessaggi finestra(v, seriale);
        finestra.show();
        finestra.Text3->setText(QString::fromLocal8Bit(peer.portText()));
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("a.tvo")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(fileOf({"000HELLO"}));
        file.close();
        v.FileSelezionato = QFile::encodeName(file.fileName());
        QString caption;
        WhenShown<QPushButton> clicker(
            [&](QPushButton& button) {
                caption = button.text();
                QTest::mouseClick(&button, Qt::LeftButton);
            },
            QStringLiteral("Command4"));
        QTest::mouseClick(finestra.Command1, Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("Errore Dati non scritti giusti. Clicca Qui"));
        QCOMPARE(finestra.Text2->text(), QStringLiteral("HELLO            "));
    }

    void moreRecordsThanTheTableHoldsNeverWritePastIt() {
        DeviceFixture f;
        QByteArrayList lines;
        for (int i = 0; i < 600; ++i)
            lines += QByteArray::number(i % 512).rightJustified(3, '0') + "TESTO";
        f.selectFile(fileOf(lines));
        const QList<Acknowledgement> acks = run(f);
        QCOMPARE(acks.size(), 1);
        QVERIFY(acks[0].caption.contains(QStringLiteral("Troppi messaggi")));
        QVERIFY(acks[0].text2.contains("591"));
        QCOMPARE(f.unit.writesReceived(), 591);
        QCOMPARE(f.unit.framesReceived(), 591);
        QCOMPARE(f.v.Messaggi[590], QByteArray("078TESTO           "));
        QVERIFY(!f.portOpen());
    }

    void anUnreadableFileSendsNothing() {
        DeviceFixture f;
        f.v.FileSelezionato = QFile::encodeName(f.folder.filePath(QStringLiteral("manca.tvo")));
        QVERIFY(run(f).isEmpty());
        QVERIFY2(f.finestra->Text2->text().contains(QStringLiteral("manca.tvo")),
                 qPrintable(f.finestra->Text2->text()));
        QCOMPARE(f.unit.framesReceived(), 0);
        QVERIFY(!f.portOpen());
        QVERIFY(f.finestra->Command1->isEnabled());
    }

    void aPortThatCannotBeOpenedSendsNothing() {
        DeviceFixture f;
        f.selectFile(fileOf({"000UNO"}));
        f.finestra->Text3->setText(QStringLiteral("X"));
        QVERIFY(run(f).isEmpty());
        QVERIFY2(f.finestra->Text2->text().contains(QStringLiteral("non valida")),
                 qPrintable(f.finestra->Text2->text()));
        QCOMPARE(f.unit.framesReceived(), 0);
        // The next run on the right port works.
        f.finestra->Text3->setText(f.unit.devicePath());
        QVERIFY(run(f).isEmpty());
        QCOMPARE(f.text2(), QByteArray("DATI UGUALI  TUTTO OK "));
    }

    void aUnitThatVanishesEndsTheRunWithTheReason() {
        DeviceFixture f;
        f.selectFile(fileOf({"000UNO", "001DUE", "002TRE"}));
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&f] {
            if (f.unit.framesReceived() == 2)
                f.unit.vanish();
        });
        const QList<Acknowledgement> acks = run(f);
        QCOMPARE(acks.size(), 1);
        QCOMPARE(acks[0].caption, QStringLiteral(" Errore porta seriale  Clicca Qui"));
        QVERIFY2(acks[0].text2.contains("interrotto"), acks[0].text2.constData());
        QVERIFY(!f.portOpen());
        QVERIFY(f.finestra->Command1->isEnabled());
    }

    void theIdentifierEditedDuringARunChangesTheFramesThatFollow() {
        DeviceFixture f;
        f.selectFile(fileOf({"000UNO", "001DUE"}));
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&f] {
            if (f.unit.framesReceived() == 1)
                f.finestra->IdStart->setText(QStringLiteral("&C9"));
        });
        const QList<Acknowledgement> acks = run(f);
        QCOMPARE(acks.size(), 1);
        QCOMPARE(f.unit.frames().size(), 2);
        QVERIFY(f.unit.frames().at(1).startsWith("&C90W016001DUE"));
    }
};

QTEST_MAIN(TestProgrammaTesti)
#include "tst_programmatesti.moc"

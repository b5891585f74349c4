#include "DeviceFixture.h"
#include "MessageFiles.h"
#include "ScriptedPeer.h"
#include "device/ProgrammaTesti.h"

#include <QtTest>

namespace {

using Acknowledgement = RecordingHost::Acknowledgement;

QByteArray writeFrame(const QByteArray& record) {
    return "&C10W016" + record.leftJustified(19) + '\r';
}

} // namespace

class TestProgrammaTesti : public QObject {
    Q_OBJECT

    OperationOutcome::Ending m_result = OperationOutcome::Ending::Done;

    // Runs the operation; what was shown at each acknowledgement is kept.
    QList<Acknowledgement> run(DeviceFixture& f) {
        f.host.acknowledgements.clear();
        m_result = ProgrammaTesti(f.v, f.exchange, f.host, f.selected()).ending;
        return f.host.acknowledgements;
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
        QCOMPARE(m_result, OperationOutcome::Ending::Done);
    }

    // Nothing to send is said as such, never as texts found equal.
    void aFileWithoutRecordsIsRefusedAndSendsNothing() {
        DeviceFixture f;
        f.selectFile("solo commento\r\n\r\nend\r\n");
        f.host.text1 = QStringLiteral("prima");
        QVERIFY(run(f).isEmpty());
        QVERIFY2(f.text2().startsWith("nessun messaggio da inviare in "), f.text2().constData());
        QCOMPARE(m_result, OperationOutcome::Ending::CannotStart);
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
        QCOMPARE(acks[0].error, QStringLiteral(" Errore risposta "));
        QCOMPARE(acks[0].text1, QStringLiteral("&C10WN"));
        QCOMPARE(acks[0].text2, QStringLiteral("Programmo scritte"));
        QCOMPARE(f.unit.writesReceived(), 3);
        QCOMPARE(f.unit.framesReceived(), 3);
        QCOMPARE(f.v.Messaggi[2], QByteArray("002TRE             "));
        QCOMPARE(f.v.TestoErrore, QByteArray(" Errore risposta "));
        QCOMPARE(m_result, OperationOutcome::Ending::Failed);
        QVERIFY(!f.portOpen());
        const LineTrace& trace = f.exchange.trace();
        QCOMPARE(trace.size(), 4);
        QVERIFY(trace.at(0).operation.startsWith(QStringLiteral("Invia file al TARVO")));
        QCOMPARE(trace.at(3).mark, LineTrace::Mark::Refused);
        QCOMPARE(trace.at(2).mark, LineTrace::Mark::None);
    }

    void noReplyInEitherPhase_data() {
        QTest::addColumn<int>("silentFrom");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("text1");
        QTest::addColumn<QString>("text2");
        QTest::newRow("while writing")
            << 1 << QStringLiteral(" Errore risposta ") << QStringLiteral("1234567errore seriale ")
            << QStringLiteral("Programmo scritte");
        QTest::newRow("while verifying")
            << 3 << QStringLiteral("Errore Dati non scritti giusti.")
            << QStringLiteral("UNO             ") << QStringLiteral("errore seriale ");
    }
    void noReplyInEitherPhase() {
        QFETCH(int, silentFrom);
        QFETCH(QString, error);
        QFETCH(QString, text1);
        QFETCH(QString, text2);
        SimulatedUnit::Options options;
        options.silentFrom = silentFrom;
        DeviceFixture f(options);
        f.selectFile(fileOf({"000UNO", "001DUE"}));
        const QList<Acknowledgement> acks = run(f);
        QCOMPARE(acks.size(), 1);
        QCOMPARE(acks[0].error, error);
        QCOMPARE(acks[0].text1, text1);
        QCOMPARE(acks[0].text2, text2);
        QCOMPARE(m_result, OperationOutcome::Ending::Failed);
        QVERIFY(!f.portOpen());
    }

    // Both records are written and both read back, in file order; each read
    // is judged against the text the file leaves there, the last one.
    void twoRecordsForOneAddressAreVerifiedAgainstTheLast() {
        DeviceFixture f;
        f.selectFile(fileOf({"007abc", "008OTTO", "007ABC"}));
        QVERIFY(run(f).isEmpty());
        QCOMPARE(f.unit.frames(),
                 (QByteArrayList{writeFrame("007abc"), writeFrame("008OTTO"), writeFrame("007ABC"),
                                 "&C10R007\r", "&C10R008\r", "&C10R007\r"}));
        QCOMPARE(f.text2(), QByteArray("DATI UGUALI  TUTTO OK "));
        QCOMPARE(f.text1(), QByteArray("ABC             "));
    }

    void aTextReadBackWithATrailingSpaceMoreDiffers() {
        ScriptedPeer peer;
        peer.reply("&C10WR\r");
        peer.reply("&C10R16HELLO            \r");
        DeviceFixture f;
        f.v.PortaCom = peer.portText();
        f.selectFile(fileOf({"000HELLO"}));
        const QList<Acknowledgement> acks = run(f);
        QCOMPARE(acks.size(), 1);
        QCOMPARE(acks[0].error, QStringLiteral("Errore Dati non scritti giusti."));
        QCOMPARE(f.text2(), QByteArray("HELLO            "));
    }

    void moreRecordsThanTheTableHoldsAreRefusedBeforeTheFirstFrame() {
        DeviceFixture f;
        QByteArrayList lines;
        for (int i = 0; i < 600; ++i)
            lines += QByteArray::number(i % 512).rightJustified(3, '0') + "TESTO";
        f.selectFile(fileOf(lines));
        QVERIFY(run(f).isEmpty());
        QCOMPARE(f.host.text2, QStringLiteral("Il file ha 600 messaggi, più dei 591 che si possono "
                                              "inviare in una volta: nulla è stato inviato. "
                                              "Dividi il file."));
        QCOMPARE(m_result, OperationOutcome::Ending::CannotStart);
        QCOMPARE(f.unit.framesReceived(), 0);
        QVERIFY(f.v.Messaggi[0].isEmpty());
        QVERIFY(!f.portOpen());
    }

    void anUnreadableFileSendsNothing() {
        DeviceFixture f;
        f.v.FileSelezionato = QFile::encodeName(f.folder.filePath(QStringLiteral("manca.tvo")));
        QVERIFY(run(f).isEmpty());
        QVERIFY2(f.text2().contains("manca.tvo"), f.text2().constData());
        QCOMPARE(m_result, OperationOutcome::Ending::CannotStart);
        QCOMPARE(f.unit.framesReceived(), 0);
        QVERIFY(!f.portOpen());
    }

    void aPortThatCannotBeOpenedSendsNothing() {
        DeviceFixture f;
        f.selectFile(fileOf({"000UNO"}));
        f.v.PortaCom = "X";
        QVERIFY(run(f).isEmpty());
        QVERIFY2(f.text2().contains("non valida"), f.text2().constData());
        QCOMPARE(m_result, OperationOutcome::Ending::CannotStart);
        QCOMPARE(f.unit.framesReceived(), 0);
        // The next run on the right port works.
        f.v.PortaCom = f.unit.devicePath().toLocal8Bit();
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
        QCOMPARE(acks[0].error, QStringLiteral(" Errore porta seriale "));
        QVERIFY2(acks[0].text2.contains("interrotto"), qPrintable(acks[0].text2));
        QCOMPARE(m_result, OperationOutcome::Ending::Failed);
        QVERIFY(!f.portOpen());
    }

    // On a line with several units, an identifier edited mid-run must not
    // send the rest of the texts to another unit.
    void everyFrameUsesTheIdentifierOfTheStart() {
        DeviceFixture f;
        f.selectFile(fileOf({"000UNO", "001DUE"}));
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&f] {
            if (f.unit.framesReceived() == 1)
                f.v.Identificativo = "&C9";
        });
        QVERIFY(run(f).isEmpty());
        QCOMPARE(f.unit.frames().size(), 4);
        for (const QByteArray& frame : f.unit.frames())
            QVERIFY2(frame.startsWith("&C10"), frame.constData());
    }
};

QTEST_MAIN(TestProgrammaTesti)
#include "tst_programmatesti.moc"

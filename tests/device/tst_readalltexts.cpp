#include "DeviceFixture.h"
#include "ScriptedPeer.h"
#include "device/ReadAllTexts.h"
#include "device/TreCifre.h"
#include "files/ScriviFileMessaggi.h"

#include <QDir>
#include <QtTest>

class TestReadAllTexts : public QObject {
    Q_OBJECT

    // What the operator saw when the run stopped to wait: at the offer to
    // save or at the acknowledgement.
    struct Seen {
        int saveWindows = 0;
        int acknowledgements = 0;
        QByteArray text1;
        QByteArray text2;
        bool portOpen = false;
        bool commandsDisabled = false;
        QString error;
        OperationOutcome::Ending result = OperationOutcome::Ending::Done;
    };

    // Reads all texts; what is offered for saving is saved under `name`, in
    // the test's folder, unless the name is empty.
    Seen run(DeviceFixture& f, const QString& name) {
        Seen seen;
        const auto snapshot = [&] {
            seen.text1 = f.text1();
            seen.text2 = f.text2();
            seen.portOpen = f.portOpen();
            seen.commandsDisabled = !f.host.commandsEnabled;
        };
        f.host.onOfferForSaving = [&] {
            ++seen.saveWindows;
            snapshot();
            if (name.isEmpty())
                return;
            const QString path = QDir(m_folder.path()).filePath(name);
            QVERIFY(ScriviFileMessaggi(path, f.v.CommentoDaSalvare, f.v.TestoMessaggi).ok());
            f.v.FileSelezionato = QFile::encodeName(path);
        };
        seen.result = readAllTexts(f.v, f.exchange, f.host).ending;
        seen.acknowledgements = int(f.host.acknowledgements.size());
        if (!f.host.acknowledgements.isEmpty()) {
            const RecordingHost::Acknowledgement& ack = f.host.acknowledgements.last();
            seen.text1 = ack.text1.toLatin1();
            seen.text2 = ack.text2.toLatin1();
            seen.commandsDisabled = ack.commandsDisabled;
            seen.error = ack.error;
        }
        return seen;
    }

  private slots:
    void treCifre_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("digits");
        const QList<std::pair<int, const char*>> table = {
            {0, "000"},   {9, "009"},   {10, "010"},  {99, "099"},  {100, "100"},
            {101, "101"}, {110, "110"}, {199, "199"}, {500, "500"}, {509, "509"},
            {510, "510"}, {511, "511"}, {42, "042"},  {599, "599"}};
        for (const auto& [number, digits] : table)
            QTest::newRow(digits) << number << QByteArray(digits);
    }
    void treCifre() {
        QFETCH(int, number);
        QFETCH(QByteArray, digits);
        Variabili v;
        v.NumeroDaFormattare = qint16(number);
        TreCifre(v);
        QCOMPARE(v.NumeroFormattato, digits);
    }

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
        QCOMPARE(seen.result, OperationOutcome::Ending::Done);

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
        QVERIFY(f.host.commandsEnabled);
        QCOMPARE(f.unit.framesReceived(), 512);
        QCOMPARE(f.unit.frames().at(42), QByteArray("&C10R042\r"));
        // The progress counts each address once it has been read.
        QCOMPARE(f.host.progress.size(), 1 + 512);
        for (int shown = 0; shown <= 512; ++shown)
            QCOMPARE(f.host.progress[shown].done, shown);
        QCOMPARE(f.host.progress.last().total, 512);
    }

    // The identifier box may change during the run; every frame still goes
    // to the unit the run started with.
    void everyFrameGoesToTheUnitTheRunStartedWith() {
        DeviceFixture f;
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&f] {
            if (f.unit.framesReceived() == 1)
                f.v.Identificativo = "&C9";
        });
        QCOMPARE(run(f, QString()).result, OperationOutcome::Ending::Done);
        QCOMPARE(f.unit.framesReceived(), 512);
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
        QVERIFY(seen.commandsDisabled);
        QVERIFY(seen.error.contains(QStringLiteral("non risponde")));
        QCOMPARE(seen.result, OperationOutcome::Ending::Failed);
        QCOMPARE(f.v.TestoMessaggi.count('\n'), 100);
        QVERIFY(f.v.TestoMessaggi.startsWith("000"));
        QVERIFY(f.v.TestoMessaggi.endsWith("099                *\r\n"));
        QVERIFY(!QFile::exists(QDir(m_folder.path()).filePath(QStringLiteral("parziale.tvo"))));
        QVERIFY(!f.portOpen());
        QVERIFY(f.host.commandsEnabled);
    }

    void noUnitAtAll() {
        ScriptedPeer quiet;
        DeviceFixture f;
        f.v.PortaCom = quiet.portText();
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
        f.v.PortaCom = peer.portText();
        const Seen seen = run(f, QStringLiteral("lungo.tvo"));
        QCOMPARE(seen.saveWindows, 0);
        QCOMPARE(seen.acknowledgements, 1);
        QVERIFY(seen.error.contains(QStringLiteral("non valida")));
        QVERIFY(seen.text2.contains("non valida"));
        QVERIFY(f.v.TestoMessaggi.isEmpty());
        QVERIFY(!QFile::exists(QDir(m_folder.path()).filePath(QStringLiteral("lungo.tvo"))));
        QCOMPARE(f.exchange.trace().at(1).mark, LineTrace::Mark::InvalidReply);
    }

    // A line break inside a text would split its record in the saved file;
    // a reader takes a lone carriage return for one too.
    void aTextThatALineCannotHoldIsNotSaved_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF") << QByteArray("PRIMA\r\nDOPO") << QByteArray("0D 0A");
        QTest::newRow("lone LF") << QByteArray("PRIMA\nDOPO") << QByteArray("0A");
        QTest::newRow("lone CR") << QByteArray("PRIMA\rDOPO") << QByteArray("0D");
    }
    void aTextThatALineCannotHoldIsNotSaved() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, bytes);
        DeviceFixture f;
        f.unit.setText(42, text);
        const Seen seen = run(f, QStringLiteral("spezzato.tvo"));
        QCOMPARE(seen.saveWindows, 0);
        QCOMPARE(seen.acknowledgements, 1);
        QCOMPARE(seen.result, OperationOutcome::Ending::Failed);
        QCOMPARE(seen.text1, QByteArray("0R042"));
        QVERIFY2(seen.text2.contains("042") && seen.text2.contains(" " + bytes + " "),
                 seen.text2.constData());
        QCOMPARE(f.unit.framesReceived(), 43);
        QVERIFY(!QFile::exists(QDir(m_folder.path()).filePath(QStringLiteral("spezzato.tvo"))));
    }

    void aPortThatCannotBeOpenedIsReported() {
        DeviceFixture f;
        f.v.PortaCom = "/dev/tarvo-missing";
        const Seen seen = run(f, QStringLiteral("niente.tvo"));
        QCOMPARE(seen.acknowledgements + seen.saveWindows, 0);
        QVERIFY2(f.text2().contains("non esiste"), f.text2().constData());
        QCOMPARE(seen.result, OperationOutcome::Ending::CannotStart);
        QVERIFY(f.host.commandsEnabled);
    }

    void aUnitThatVanishesIsNamed() {
        DeviceFixture f;
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&f] {
            if (f.unit.framesReceived() == 10)
                f.unit.vanish();
        });
        const Seen seen = run(f, QStringLiteral("niente.tvo"));
        QCOMPARE(seen.acknowledgements, 1);
        QVERIFY(seen.error.contains(QStringLiteral("Porta seriale persa")));
        QVERIFY2(seen.text2.contains("interrotto"), seen.text2.constData());
        QVERIFY(!f.portOpen());
    }

  private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(TestReadAllTexts)
#include "tst_readalltexts.moc"

#include "AnotherReader.h"
#include "ScriptedPeer.h"
#include "SimulatedUnit.h"
#include "core/Variabili.h"
#include "serial/SerialControl.h"
#include "serial/SerialExchange.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QtTest>

class TestSerialExchange : public QObject {
    Q_OBJECT

    SerialControl* control(SerialExchange& host) {
        return host.findChild<SerialControl*>(QStringLiteral("MSComm1"));
    }

    // An exchange whose port is a scripted far end.
    struct OpenLine {
        ScriptedPeer peer;
        Variabili v;
        SerialExchange host{v};
        bool open() {
            v.PortaCom = peer.portText();
            return host.ApriSeriale();
        }
    };

    // One exchange with a scripted far end.
    ExchangeReply exchange(Variabili& v, SerialExchange& host, const QByteArray& frame,
                           qint16 threshold) {
        v.Comando = frame;
        v.LunghezzaRisposta = threshold;
        return host.InviaAllaSeriale();
    }

  private slots:
    void portsThatCannotBeOpenedAreReported_data() {
        QTest::addColumn<QByteArray>("port");
        QTest::addColumn<QString>("words");
        QTest::newRow("not a number") << QByteArray("X") << QStringLiteral("non valida");
        QTest::newRow("missing device")
            << QByteArray("/dev/tarvo-missing") << QStringLiteral("non esiste");
        QTest::newRow("not a serial port")
            << QByteArray("/dev/null") << QStringLiteral("/dev/null");
    }
    void portsThatCannotBeOpenedAreReported() {
        QFETCH(QByteArray, port);
        QFETCH(QString, words);
        Variabili v;
        SerialExchange host(v);
        v.PortaCom = port;
        v.SerialeOccupata = true;
        QVERIFY(!host.ApriSeriale());
        QVERIFY2(host.lastFailure().text.contains(words), qPrintable(host.lastFailure().text));
        // The message names the ports there are, so the operator sees what to type.
        QVERIFY(host.lastFailure().text.contains(QStringLiteral("Porte presenti: ")) ||
                host.lastFailure().text.contains(QStringLiteral("Nessuna porta seriale trovata")));
        QVERIFY(!control(host)->PortOpen());
        QVERIFY(!v.SerialeOccupata);
        // An exchange on a port that is not open gives the timeout text at once.
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(v.Risposta, SerialExchange::TimeoutText);
        QVERIFY(!v.SerialeOccupata);
    }

    void openingSetsTheLineAndFreesIt() {
        ScriptedPeer peer;
        Variabili v;
        SerialExchange host(v);
        v.PortaCom = peer.portText();
        v.SerialeOccupata = true;
        QVERIFY2(host.ApriSeriale(), qPrintable(host.lastFailure().text));
        QVERIFY(!v.SerialeOccupata);
        QVERIFY(host.lastFailure().text.isEmpty());
        QCOMPARE(control(host)->Settings(), QStringLiteral("9600,N,8,1"));
        QVERIFY(control(host)->PortOpen());
        host.ChiudiSeriale();
        QVERIFY(!control(host)->PortOpen());
        host.ChiudiSeriale();
        QVERIFY(!control(host)->PortOpen());
        // The port opens again for the next operation.
        QVERIFY(host.ApriSeriale());
        host.ChiudiSeriale();
    }

    void repliesAreTrimmed_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<qint16>("threshold");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("CR at the end") << QByteArray("ABCDE\r") << qint16(6) << QByteArray("ABCDE");
        QTest::newRow("CR at both ends")
            << QByteArray("\rABCDE\r") << qint16(7) << QByteArray("ABCDE");
        QTest::newRow("three characters kept")
            << QByteArray("AB\r") << qint16(3) << QByteArray("AB\r");
        QTest::newRow("three with leading CR")
            << QByteArray("\rAB") << qint16(3) << QByteArray("AB");
        QTest::newRow("lone CR") << QByteArray("\r") << qint16(1) << QByteArray();
        QTest::newRow("more than the threshold")
            << QByteArray("&C1TA and more\r") << qint16(6) << QByteArray("&C1TA and more");
        QTest::newRow("bytes 128-255") << QByteArray("&C10R16\xe0\xe8\x80\xff\x81"
                                                     "abcdefghijk\r")
                                       << qint16(24)
                                       << QByteArray("&C10R16\xe0\xe8\x80\xff\x81"
                                                     "abcdefghijk");
    }
    void repliesAreTrimmed() {
        QFETCH(QByteArray, reply);
        QFETCH(qint16, threshold);
        QFETCH(QByteArray, expected);
        OpenLine line;
        auto& [peer, v, host] = line;
        peer.reply(reply);
        QVERIFY(line.open());
        const ExchangeReply answer = exchange(v, host, "&C1TA\r", threshold);
        QCOMPARE(v.Risposta, expected);
        QCOMPARE(answer.status, ExchangeReply::Status::Answered);
        QCOMPARE(answer.bytes, expected);
        QVERIFY(!v.SerialeOccupata);
        QCOMPARE(control(host)->RThreshold(), threshold);
        QCOMPARE(peer.frames(), QByteArrayList{"&C1TA\r"});
    }

    // On a line set to echo, the frame must come back exactly before the
    // reply; it is removed, and anything else is told as a wrong echo.
    void anEchoIsExpectedAndRemoved_data() {
        const QByteArray write = "&C10W016000HELLO           \r";
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<qint16>("threshold");
        QTest::addColumn<QByteArray>("peerSends");
        QTest::addColumn<ExchangeReply::Status>("status");
        QTest::addColumn<QByteArray>("risposta");
        QTest::newRow("echo and reply") << write << qint16(7) << write + "&C10WR\r"
                                        << ExchangeReply::Status::Answered << QByteArray("&C10WR");
        QTest::newRow("echo with a leading CR reply")
            << QByteArray("&C1TA\r") << qint16(6) << QByteArray("&C1TA\r\r&C1TA\r")
            << ExchangeReply::Status::Answered << QByteArray("&C1TA");
        QTest::newRow("echo, no reply")
            << write << qint16(7) << write << ExchangeReply::Status::TimedOut
            << SerialExchange::TimeoutText;
        QTest::newRow("reply without echo")
            << write << qint16(7) << QByteArray("&C10WR\r") << ExchangeReply::Status::EchoDiffers
            << SerialExchange::TimeoutText;
        QTest::newRow("echo changed on the way")
            << write << qint16(7) << QByteArray("&C10W016000HELLP           \r&C10WR\r")
            << ExchangeReply::Status::EchoDiffers << SerialExchange::TimeoutText;
    }
    void anEchoIsExpectedAndRemoved() {
        QFETCH(QByteArray, frame);
        QFETCH(qint16, threshold);
        QFETCH(QByteArray, peerSends);
        QFETCH(ExchangeReply::Status, status);
        QFETCH(QByteArray, risposta);
        OpenLine line;
        auto& [peer, v, host] = line;
        peer.reply(peerSends);
        host.setLineEchoes(true);
        QVERIFY(line.open());
        const ExchangeReply reply = exchange(v, host, frame, threshold);
        QCOMPARE(reply.status, status);
        QCOMPARE(v.Risposta, risposta);
        // What came: the reply without the echo, or everything short of or
        // instead of it.
        QCOMPARE(reply.bytes, status == ExchangeReply::Status::Answered ? risposta : peerSends);
        QCOMPARE(host.trace().at(host.trace().size() - 1).received, peerSends);
        QCOMPARE(host.trace().at(host.trace().size() - 1).mark == LineTrace::Mark::EchoDiffers,
                 status == ExchangeReply::Status::EchoDiffers);
        QVERIFY(!v.SerialeOccupata);
    }

    // However the line splits the echo and the reply, the reply judged is
    // the one the exchange took: bytes that come after it, here in the pause
    // that follows it, never replace it.
    void bytesAfterTheReplyNeverReplaceIt_data() {
        const QByteArray write = "&C10W016000HELLO           \r";
        const QByteArrayList echo{write.left(8), write.mid(8, 10), write.mid(18)};
        QTest::addColumn<bool>("lineEchoes");
        QTest::addColumn<QByteArrayList>("pieces");
        QTest::addColumn<QByteArray>("afterwards");
        QTest::addColumn<bool>("echoed");
        // The reply taken is this or its beginning.
        QTest::addColumn<QByteArray>("risposta");
        QTest::newRow("echo taken for the reply")
            << false << echo << QByteArray("&C10WR\r") << true << write;
        QTest::newRow("echo expected") << true << echo + QByteArrayList{"&C10", "WR\r"}
                                       << write + "&C10WR\r" << false << QByteArray("&C10WR");
    }
    void bytesAfterTheReplyNeverReplaceIt() {
        QFETCH(bool, lineEchoes);
        QFETCH(QByteArrayList, pieces);
        QFETCH(QByteArray, afterwards);
        QFETCH(bool, echoed);
        QFETCH(QByteArray, risposta);
        OpenLine line;
        auto& [peer, v, host] = line;
        peer.replyInPieces(pieces);
        host.setLineEchoes(lineEchoes);
        QVERIFY(line.open());
        connect(
            &host, &SerialExchange::pauseBegins, &peer,
            [&peer, afterwards] { peer.send(afterwards); }, Qt::SingleShotConnection);
        const ExchangeReply reply = exchange(v, host, "&C10W016000HELLO           \r", 7);
        QCOMPARE(reply.status, ExchangeReply::Status::Answered);
        QCOMPARE(reply.echoed, echoed);
        QVERIFY2(v.Risposta.size() >= 6 && risposta.startsWith(v.Risposta), v.Risposta.constData());
        QCOMPARE(reply.bytes, v.Risposta);
    }

    void noReplyGivesTheTimeoutText() {
        OpenLine line;
        auto& [peer, v, host] = line;
        QVERIFY(line.open());
        // The deadline is armed between the call and the frame's arrival at
        // the far end, 800 ms after the moment it was armed.
        qint64 frameSeenNs = 0;
        qint64 armedDeadlineNs = 0;
        connect(&peer, &ScriptedPeer::frameReceived, this, [&] {
            frameSeenNs = QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs();
            armedDeadlineNs = v.ScadenzaRisposta.deadlineNSecs();
        });
        const qint64 calledNs = QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(exchange(v, host, "&C1TA\r", 6).status, ExchangeReply::Status::TimedOut);
        constexpr qint64 replyWaitNs = 800'000'000;
        QVERIFY(armedDeadlineNs >= calledNs + replyWaitNs);
        QVERIFY(armedDeadlineNs <= frameSeenNs + replyWaitNs);
        QCOMPARE(v.Risposta, QByteArray("1234567errore seriale "));
        QCOMPARE(v.Risposta.size(), 22);
        QVERIFY(!v.SerialeOccupata);
        QCOMPARE(control(host)->RThreshold(), qint16(0));
        QVERIFY(clock.elapsed() >= 790);
        QVERIFY(host.lastFailure().text.isEmpty());
    }

    void shortReplyTimesOutAndIsDrainedBeforeTheNextFrame() {
        OpenLine line;
        auto& [peer, v, host] = line;
        peer.reply("&C1T");
        peer.reply("&C10WR\r");
        QVERIFY(line.open());
        const ExchangeReply reply = exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(v.Risposta, SerialExchange::TimeoutText);
        QCOMPARE(reply.status, ExchangeReply::Status::TimedOut);
        QCOMPARE(reply.bytes, QByteArray("&C1T"));
        QCOMPARE(host.trace().at(0).received, QByteArray("&C1T"));
        // A late byte after the time-out stays waiting until the next frame.
        peer.send("Z");
        exchange(v, host, "&C10W016000HELLO           \r", 7);
        QCOMPARE(v.Risposta, QByteArray("&C10WR"));
    }

    // Noise after a whole reply, whether it reached the port's buffer or
    // still waits in the system's, never reaches the next reply.
    void noiseAfterAWholeReplyIsDiscarded() {
        OpenLine line;
        auto& [peer, v, host] = line;
        peer.reply("&C1TA\r");
        peer.reply("&C1TA\r");
        peer.reply("&C1TA\r");
        QVERIFY(line.open());
        exchange(v, host, "&C1TA\r", 6);
        peer.send("Z");
        QTest::qWait(50);
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(v.Risposta, QByteArray("&C1TA"));
        peer.send("Y");
        QThread::msleep(50);
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(v.Risposta, QByteArray("&C1TA"));
    }

    void errorNotificationsChangeNothing() {
        Variabili v;
        SerialExchange host(v);
        v.Risposta = "before";
        v.SerialeOccupata = true;
        for (const qint16 code :
             {qint16(1), qint16(1004), qint16(1006), qint16(1009), qint16(1011)}) {
            control(host)->raiseEvent(code);
            QCOMPARE(v.Risposta, QByteArray("before"));
            QVERIFY(v.SerialeOccupata);
        }
    }

    void eventsRunOnceBeforeTheLineIsTaken() {
        OpenLine line;
        auto& [peer, v, host] = line;
        peer.reply("&C1TA\r");
        QVERIFY(line.open());
        v.Comando = "&C1XX\r";
        v.LunghezzaRisposta = 6;
        // Posted before the call, it runs in the first round of events, before
        // the frame is written.
        QTimer::singleShot(0, this, [&v] { v.Comando = "&C1TA\r"; });
        host.InviaAllaSeriale();
        QCOMPARE(peer.frames(), QByteArrayList{"&C1TA\r"});
        QCOMPARE(v.Risposta, QByteArray("&C1TA"));
    }

    void anExchangeInsideAnotherOnesWaitIsRefused() {
        OpenLine line;
        auto& [peer, v, host] = line;
        QVERIFY(line.open());
        QByteArray innerReply;
        ExchangeReply::Status innerStatus = ExchangeReply::Status::Answered;
        connect(
            &peer, &ScriptedPeer::frameReceived, this,
            [&] {
                v.Comando = "&C1TA\r";
                innerStatus = host.InviaAllaSeriale().status;
                innerReply = v.Risposta;
                peer.send("&C1TA\r");
            },
            Qt::SingleShotConnection);
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(innerReply, SerialExchange::TimeoutText);
        QCOMPARE(innerStatus, ExchangeReply::Status::NotSent);
        QCOMPARE(peer.frames().size(), 1);
    }

    void aDeviceThatVanishesEndsTheExchange() {
        OpenLine line;
        auto& [peer, v, host] = line;
        peer.vanishOnNextFrame();
        QVERIFY(line.open());
        QCOMPARE(exchange(v, host, "&C1TA\r", 6).status, ExchangeReply::Status::PortLost);
        QCOMPARE(v.Risposta, SerialExchange::TimeoutText);
        QVERIFY(!v.SerialeOccupata);
        QVERIFY2(host.lastFailure().text.contains(QStringLiteral("interrotto")) &&
                     host.lastFailure().text.endsWith(QStringLiteral("scollegato?")),
                 qPrintable(host.lastFailure().text));
        QTRY_VERIFY(!control(host)->PortOpen());
        host.ChiudiSeriale();
        // Nothing more reaches a port that is gone.
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(v.Risposta, SerialExchange::TimeoutText);
    }

    // Another reader takes a reply between the notice of its bytes and the
    // port's read, which then would block: the device is still there, so the
    // reply is missing and the port is not lost. The reader is named when
    // this user can see it, else said to be unseen.
    void aReplyTakenByAnotherReaderIsMissingNotLost_data() {
        QTest::addColumn<bool>("visibleHolder");
        QTest::newRow("holder in sight") << true;
        QTest::newRow("holder out of sight") << false;
    }
    void aReplyTakenByAnotherReaderIsMissingNotLost() {
        QFETCH(bool, visibleHolder);
        OpenLine line;
        auto& [peer, v, host] = line;
        AnotherReader reader(peer.portText());
        QVERIFY(reader.isOpen());
        connect(&peer, &ScriptedPeer::frameReceived, &reader, &AnotherReader::waitForBytes);
        QProcess holder;
        if (visibleHolder) {
            holder.setStandardInputFile(QString::fromLocal8Bit(peer.portText()));
            holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
            QVERIFY(holder.waitForStarted());
        }
        QVERIFY(line.open());
        peer.reply("&C1TA\r");
        QCOMPARE(exchange(v, host, "&C1TA\r", 6).status, ExchangeReply::Status::TimedOut);
        QCOMPARE(reader.taken(), QByteArray("&C1TA\r"));
        QVERIFY(control(host)->inputTakenElsewhere());
        QCOMPARE(v.Risposta, SerialExchange::TimeoutText);
        QCOMPARE(host.lastFailure().text, QString());
        const QString note = visibleHolder
                                 ? QStringLiteral("la porta è aperta anche da sleep (pid %1), che "
                                                  "può prendersi le risposte")
                                       .arg(holder.processId())
                                 : QStringLiteral("la porta è aperta anche da un altro programma, "
                                                  "forse di un altro utente (questo utente non "
                                                  "può vederlo), che può prendersi le risposte");
        QCOMPARE(host.replyTakers().text, note);
        const LineTrace& trace = host.trace();
        QCOMPARE(trace.at(trace.size() - 1).mark, LineTrace::Mark::Timeout);
        QCOMPARE(trace.at(trace.size() - 1).note, note);
        QVERIFY(control(host)->PortOpen());
        // The port leaves the line so that the other reader goes on reading.
        QVERIFY(!reader.blockingReadWouldEndAtOnce());
        host.ChiudiSeriale();
        holder.kill();
        holder.waitForFinished();
    }

    // Bytes taken from under the port do not stop it listening: the reply
    // that follows within the same exchange is heard.
    void aReplyAfterTakenBytesIsHeard() {
        OpenLine line;
        auto& [peer, v, host] = line;
        AnotherReader reader(peer.portText());
        QVERIFY(reader.isOpen());
        connect(&peer, &ScriptedPeer::frameReceived, &reader, [&] {
            peer.send("NOISE\r");
            reader.waitForBytes();
            QTimer::singleShot(100, &peer, [&peer] { peer.send("&C1TA\r"); });
        });
        QVERIFY(line.open());
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(reader.taken(), QByteArray("NOISE\r"));
        QVERIFY(control(host)->inputTakenElsewhere());
        QCOMPARE(v.Risposta, QByteArray("&C1TA"));
        QCOMPARE(host.replyTakers().text, QString());
    }

    void aCloseRequestEndsTheWaitAndSendsNothingMore() {
        OpenLine line;
        auto& [peer, v, host] = line;
        QVERIFY(line.open());
        connect(&peer, &ScriptedPeer::frameReceived, this, [&v] { v.closeRequested = true; });
        QElapsedTimer clock;
        clock.start();
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(v.Risposta, SerialExchange::TimeoutText);
        QVERIFY(clock.elapsed() < 700);
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(peer.frames().size(), 1);
    }

    void talksToTheSimulatedUnit() {
        SimulatedUnit unit;
        QString error;
        QVERIFY2(unit.start(&error), qPrintable(error));
        Variabili v;
        SerialExchange host(v);
        v.PortaCom = unit.devicePath().toLocal8Bit();
        QVERIFY(host.ApriSeriale());
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(v.Risposta, QByteArray("&C1TA"));
        exchange(v, host, "&C10W016042HELLO \xe9\xff        \r", 7);
        QCOMPARE(v.Risposta.at(5), 'R');
        exchange(v, host, "&C10R042\r", 24);
        QCOMPARE(v.Risposta.mid(7), QByteArray("HELLO \xe9\xff        "));
        host.ChiudiSeriale();
    }

    // The unit goes away in the middle of a run and comes back under the same
    // name: the next operation opens the port again and talks to it.
    void aUnitThatComesBackOnTheSamePathWorksAgain() {
        SimulatedUnit::Options options;
        options.publishLink = true;
        options.linkName = QStringLiteral("test-return-%1").arg(QCoreApplication::applicationPid());
        auto unit = std::make_unique<SimulatedUnit>(options);
        QVERIFY(unit->start());
        Variabili v;
        SerialExchange host(v);
        v.PortaCom = unit->linkPath().toLocal8Bit();
        QVERIFY(host.ApriSeriale());
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(v.Risposta, QByteArray("&C1TA"));
        connect(unit.get(), &SimulatedUnit::frameReceived, unit.get(), &SimulatedUnit::vanish);
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(v.Risposta, SerialExchange::TimeoutText);
        QVERIFY(host.lastFailure().text.contains(QStringLiteral("interrotto")));
        host.ChiudiSeriale();
        unit.reset();
        QVERIFY(!host.ApriSeriale());

        SimulatedUnit again(options);
        QVERIFY(again.start());
        QCOMPARE(again.linkPath().toLocal8Bit(), v.PortaCom);
        QVERIFY2(host.ApriSeriale(), qPrintable(host.lastFailure().text));
        exchange(v, host, "&C1TA\r", 6);
        QCOMPARE(v.Risposta, QByteArray("&C1TA"));
        QVERIFY(host.lastFailure().text.isEmpty());
        host.ChiudiSeriale();
    }
};

QTEST_MAIN(TestSerialExchange)
#include "tst_serialexchange.moc"

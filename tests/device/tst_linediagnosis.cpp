#include "UnitFixture.h"
#include "device/LineDiagnosis.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

// The diagnosis as the device layer runs it: which frames it sends, what it
// records, what it leaves alone and where it stops.
class TestLineDiagnosis : public QObject {
    Q_OBJECT

    static QByteArrayList framesAfterHeading(const LineTrace& trace) {
        QByteArrayList frames;
        for (int i = 0; i < trace.size(); ++i) {
            if (!trace.at(i).operation.isEmpty())
                frames = {trace.at(i).operation.toLatin1()};
            else
                frames += trace.at(i).sent;
        }
        return frames;
    }

  private slots:
    // A step tells when its bytes came, not when its wait ended; on a line
    // that echoes, when the echo came and when what followed it.
    void aStepTellsWhenItsBytesCame_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("echoMs");
        QTest::addColumn<qint64>("lastByteMs");
        QTest::addColumn<QString>("told");
        const QString test = QStringLiteral("Test con &C1: ");
        QTest::newRow("echo only") << QByteArray("&C1TA\r") << qint64(6) << qint64(6)
                                   << test + "6 byte, l'eco in 6 ms e nessun altro byte in 3 s: "
                                             "26 43 31 54 41 0D";
        QTest::newRow("echo and reply") << QByteArray("&C1TA\r&C1TA\r") << qint64(6) << qint64(40)
                                        << test + "12 byte, l'eco in 6 ms e altri 6 byte in 40 ms: "
                                                  "26 43 31 54 41 0D 26 43 31 54 41 0D";
        QTest::newRow("bytes short of a reply")
            << QByteArray("&C") << qint64(0) << qint64(12) << test + "2 byte in 12 ms: 26 43";
    }
    void aStepTellsWhenItsBytesCame() {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, echoMs);
        QFETCH(qint64, lastByteMs);
        QFETCH(QString, told);
        LineDiagnosis::Step step{LineDiagnosis::Step::Purpose::TypedIdentifier,
                                 "&C1",
                                 "&C1TA\r",
                                 LineDiagnosis::LateReplyWaitMs,
                                 {}};
        constexpr qint64 nsPerMs = 1'000'000;
        step.heard = SerialExchange::Heard{ExchangeReply::Status::TimedOut, bytes, 3'003 * nsPerMs,
                                           lastByteMs * nsPerMs, echoMs * nsPerMs};
        QCOMPARE(step.describe(), told);
    }

    void anotherIdentifierIsNamedAndTheTypedOneKept() {
        SimulatedUnit::Options options;
        options.identifier = "&C4";
        UnitFixture f(options);
        QList<LineDiagnosis::Step> steps;
        const LineFinding finding = LineDiagnosis::run(
            f.v, f.exchange, {}, [&](const LineDiagnosis::Step& step) { steps += step; });
        QCOMPARE(finding.kind, LineFinding::Kind::OtherIdentifier);
        QCOMPARE(finding.answeringIdentifier, QByteArray("&C4"));
        QCOMPARE(finding.describe(),
                 QStringLiteral("Risponde &C4, non &C1: scrivi &C4 come identificativo."));
        QCOMPARE(f.v.Identificativo, QByteArray("&C1"));
        const QByteArrayList frames{"&C10R000\r", "&C1TA\r", "&C0TA\r",
                                    "&C2TA\r",    "&C3TA\r", "&C4TA\r"};
        QCOMPARE(f.unit.frames(), frames);
        QCOMPARE(framesAfterHeading(f.exchange.trace()),
                 QByteArrayList{"Diagnosi della linea"} + frames);
        // Each step is told as it starts and once it is over.
        QCOMPARE(steps.size(), 2 * frames.size());
        for (qsizetype i = 0; i < steps.size(); ++i)
            QCOMPARE(steps[i].heard.has_value(), i % 2 == 1);
        QVERIFY(!f.portOpen());
    }

    // However many identifiers are asked for, no step starts that could end,
    // with the closing, past 20 s, and the finding names those left untried.
    // Another program holding the port is named rather than silence.
    void identifiersBeyondTheLimitAreLeftUntried() {
        SimulatedUnit::Options options;
        options.silentFrom = 1;
        UnitFixture f(options);
        QProcess holder;
        holder.setStandardInputFile(f.unit.devicePath());
        holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(holder.waitForStarted());
        QByteArrayList more;
        for (int i = 0; i < 30; ++i)
            more += "&D" + QByteArray::number(i);
        QElapsedTimer clock;
        clock.start();
        qint64 latestEndMs = 0;
        const LineFinding finding =
            LineDiagnosis::run(f.v, f.exchange, more, [&](const LineDiagnosis::Step& step) {
                if (!step.heard)
                    latestEndMs = clock.elapsed() + step.waitMs;
            });
        QVERIFY2(latestEndMs + LineDiagnosis::ClosingMarginMs <= LineDiagnosis::LimitMs,
                 qPrintable(QString::number(latestEndMs)));
        QCOMPARE(finding.kind, LineFinding::Kind::HeldElsewhere);
        QVERIFY2(
            finding.describe().contains(QStringLiteral("sleep (pid %1)").arg(holder.processId())),
            qPrintable(finding.describe()));
        holder.kill();
        holder.waitForFinished();
        const int tried = f.unit.framesReceived();
        QCOMPARE(tried + finding.untried.size(), 2 + 9 + more.size());
        const int fitting = 2 + (LineDiagnosis::LimitMs - 2 * LineDiagnosis::LateReplyWaitMs) /
                                    LineDiagnosis::ReplyWaitMs;
        QVERIFY2(tried <= fitting, qPrintable(QString::number(tried)));
        QCOMPARE(finding.untried.last(), QByteArray("&D29"));
        QVERIFY(finding.describe().contains(QStringLiteral("Non provati per il limite di 20 s: ")));
        QVERIFY(clock.elapsed() <= LineDiagnosis::LimitMs);
    }
};

QTEST_MAIN(TestLineDiagnosis)
#include "tst_linediagnosis.moc"

#include "UnitFixture.h"
#include "device/LineDiagnosis.h"

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

    // However many identifiers are asked for, the frames stop where 20 s
    // would be passed, and the finding names those left untried.
    void identifiersBeyondTheLimitAreLeftUntried() {
        SimulatedUnit::Options options;
        options.silentFrom = 1;
        UnitFixture f(options);
        QByteArrayList more;
        for (int i = 0; i < 30; ++i)
            more += "&D" + QByteArray::number(i);
        const LineFinding finding = LineDiagnosis::run(f.v, f.exchange, more, [](const auto&) {});
        QCOMPARE(finding.kind, LineFinding::Kind::Silent);
        const int tried = f.unit.framesReceived();
        QCOMPARE(tried + finding.untried.size(), 2 + 9 + more.size());
        const int fitting = 2 + (LineDiagnosis::LimitMs - 2 * LineDiagnosis::LateReplyWaitMs) /
                                    LineDiagnosis::ReplyWaitMs;
        QVERIFY2(tried <= fitting, qPrintable(QString::number(tried)));
        QCOMPARE(finding.untried.last(), QByteArray("&D29"));
        QVERIFY(finding.describe().contains(QStringLiteral("Non provati per il limite di 20 s: ")));
    }
};

QTEST_MAIN(TestLineDiagnosis)
#include "tst_linediagnosis.moc"

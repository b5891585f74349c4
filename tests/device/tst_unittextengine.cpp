#include "DeviceFixture.h"
#include "device/UnitTextEngine.h"
#include "files/RecordLayout.h"

#include <QtTest>

#include <optional>

namespace {

using Ending = OperationOutcome::Ending;
using Kind = RunFailure::Kind;
using Phase = RunProgress::Phase;

QByteArray record(int address, const QByteArray& text) {
    return RecordLayout::addressText(address) + text.leftJustified(RecordLayout::textLength);
}

} // namespace

// The engine's phases driven directly: where each fault stops the phase, what
// the outcome says, and what reached the unit before it.
class TestUnitTextEngine : public QObject {
    Q_OBJECT

  private slots:
    void aFaultStopsThePhaseWhereItHappens_data() {
        QTest::addColumn<QString>("phase");
        QTest::addColumn<int>("silentFrom");
        QTest::addColumn<int>("refuseWriteFrom");
        // The write, counted from 0, before which a stop is asked for; -1: none.
        QTest::addColumn<int>("stopBefore");
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Phase>("failedPhase");
        QTest::addColumn<QByteArray>("address");
        // What the last frame sent left: its phase's count of exchanges.
        QTest::addColumn<int>("lastExchanged");
        // The texts the unit was left with at addresses 000 to 004.
        QTest::addColumn<QByteArrayList>("unitTexts");

        const QByteArray blank(RecordLayout::textLength, ' ');
        const QByteArray t0 = QByteArray("ZERO").leftJustified(16);
        const QByteArray t1 = QByteArray("UNO").leftJustified(16);
        const QByteArray t2 = QByteArray("DUE").leftJustified(16);
        QTest::newRow("silent unit at the 100th read")
            << "read" << 100 << 0 << -1 << Ending::Failed << Kind::NoReply << Phase::Backup
            << QByteArray("099") << 100 << QByteArrayList{blank, blank, blank, blank, blank};
        QTest::newRow("refused write")
            << "write" << 0 << 2 << -1 << Ending::Failed << Kind::RefusedWrite << Phase::Writing
            << QByteArray("001") << 2 << QByteArrayList{t0, blank, blank, blank, blank};
        QTest::newRow("differing read-back")
            << "verify" << 0 << 0 << -1 << Ending::Failed << Kind::TextDiffers << Phase::Verifying
            << QByteArray("001") << 2 << QByteArrayList{t0, t1, t2, blank, blank};
        QTest::newRow("stop mid-phase")
            << "write" << 0 << 0 << 2 << Ending::Stopped << Kind::NoReply << Phase::Writing
            << QByteArray("002") << 2 << QByteArrayList{t0, t1, blank, blank, blank};
    }

    void aFaultStopsThePhaseWhereItHappens() {
        QFETCH(QString, phase);
        QFETCH(int, silentFrom);
        QFETCH(int, refuseWriteFrom);
        QFETCH(int, stopBefore);
        SimulatedUnit::Options options;
        options.silentFrom = silentFrom;
        options.refuseWriteFrom = refuseWriteFrom;
        DeviceFixture f(options);
        const QList<QByteArray> records{record(0, "ZERO"), record(1, "UNO"), record(2, "DUE"),
                                        record(3, "TRE"), record(4, "QUATTRO")};
        int taken = 0;
        bool completed = false;
        {
            UnitTextEngine engine(f.v, f.exchange, f.host);
            QVERIFY(engine.open(QStringLiteral("prova")));
            const auto stopAt = [&](int index) {
                if (index == stopBefore)
                    f.v.stopRequested = true;
            };
            if (phase == QLatin1String("read")) {
                completed =
                    engine.readEveryText(Phase::Backup, false, [&](int, int, const QByteArray&) {
                        ++taken;
                        return QString();
                    });
                QCOMPARE(taken, silentFrom - 1);
            } else if (phase == QLatin1String("write")) {
                completed = engine.writeRecords({records, stopAt, [&](int) {
                                                     ++taken;
                                                     return QString();
                                                 }});
            } else {
                QVERIFY(engine.writeRecords({records.mid(0, 3), {}, {}}));
                completed = engine.verify({{0, records[0].mid(3)},
                                           {1, QByteArray("ALTRO").leftJustified(16)},
                                           {2, records[2].mid(3)}});
            }
            QVERIFY(!completed);
            const OperationOutcome outcome = engine.outcome();
            QTEST(outcome.ending, "ending");
            QVERIFY(outcome.failure);
            QTEST(outcome.failure->kind, "kind");
            QTEST(outcome.failure->phase, "failedPhase");
            QTEST(outcome.failure->address, "address");
            QVERIFY(outcome.lastExchanged);
            QTEST(outcome.lastExchanged->done, "lastExchanged");
            QCOMPARE(outcome.lastExchanged->phase, outcome.failure->phase);
        }
        QVERIFY(!f.portOpen());
        QVERIFY(f.host.commandsEnabled);
        QFETCH(QByteArrayList, unitTexts);
        for (int address = 0; address < int(unitTexts.size()); ++address)
            QCOMPARE(f.unit.text(address), unitTexts[address]);
        if (phase == QLatin1String("write"))
            QCOMPARE(taken, f.unit.writesReceived() - (refuseWriteFrom > 0 ? 1 : 0));
        QCOMPARE(f.host.acknowledgements.size(), 1);
    }
};

QTEST_MAIN(TestUnitTextEngine)
#include "tst_unittextengine.moc"

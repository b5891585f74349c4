#include "ScriptedPeer.h"
#include "core/Variabili.h"
#include "serial/LineTrace.h"
#include "serial/SerialExchange.h"

#include <QtTest>

using Mark = LineTrace::Mark;

class TestLineTrace : public QObject {
    Q_OBJECT

    static LineTrace::Exchange sent(const QByteArray& frame, Mark mark = Mark::None) {
        return {0, 0, frame, {}, mark, {}};
    }

  private slots:
    void theRingKeepsTheMostRecentAndMarksOnlyTheLatestOnce() {
        LineTrace trace(3);
        for (const char* frame : {"1", "2", "3", "4", "5"})
            trace.record(sent(frame));
        QCOMPARE(trace.size(), 3);
        QCOMPARE(trace.appended(), 5);
        QCOMPARE(trace.at(0).sent, QByteArray("3"));
        QCOMPARE(trace.at(2).sent, QByteArray("5"));
        trace.markLast(Mark::Refused);
        trace.markLast(Mark::Mismatch);
        QCOMPARE(trace.at(2).mark, Mark::Refused);
        QCOMPARE(trace.at(1).mark, Mark::None);
        // A write refused because it timed out stays a timeout.
        trace.record(sent("6", Mark::Timeout));
        trace.markLast(Mark::Refused);
        QCOMPARE(trace.at(2).mark, Mark::Timeout);
        QCOMPARE(trace.at(0).sent, QByteArray("4"));
    }

    void everyExchangeIsRecordedAsItCrossedTheLine() {
        ScriptedPeer peer;
        peer.reply("\rABCDE\r");
        peer.reply("AB");
        Variabili v;
        v.PortaCom = peer.portText();
        SerialExchange exchange(v);
        const LineTrace& trace = exchange.trace();
        QVERIFY(exchange.ApriSeriale());
        v.Comando = "&C1T\r";
        v.LunghezzaRisposta = 7;
        exchange.InviaAllaSeriale();
        QCOMPARE(trace.size(), 1);
        QCOMPARE(trace.at(0).sent, QByteArray("&C1T\r"));
        // The reply as it came, before the exchange trimmed it.
        QCOMPARE(trace.at(0).received, QByteArray("\rABCDE\r"));
        QCOMPARE(v.Risposta, QByteArray("ABCDE"));
        QCOMPARE(trace.at(0).mark, Mark::None);
        QVERIFY(trace.at(0).tookNs > 0);
        exchange.InviaAllaSeriale();
        QCOMPARE(trace.at(1).received, QByteArray("AB"));
        QCOMPARE(trace.at(1).mark, Mark::Timeout);
        QVERIFY(trace.at(1).tookNs >= 800'000'000);
        QVERIFY(trace.at(1).sinceStartNs >= trace.at(0).sinceStartNs + trace.at(0).tookNs);
        exchange.ChiudiSeriale();
        exchange.InviaAllaSeriale();
        QCOMPARE(trace.at(2).mark, Mark::NotSent);

        v.PortaCom = "/dev/tarvo-missing";
        QVERIFY(!exchange.ApriSeriale());
        QCOMPARE(trace.at(3).mark, Mark::PortFailure);
        QCOMPARE(trace.at(3).note, exchange.lastFailure().text);
    }
};

QTEST_MAIN(TestLineTrace)
#include "tst_linetrace.moc"

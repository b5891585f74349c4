#include "core/Variabili.h"
#include "serial/SerialControl.h"
#include "ui/serial/FormSeriale.h"

#include <QLabel>
#include <QPointer>
#include <QtTest>

class TestFormSeriale : public QObject {
    Q_OBJECT

  private slots:
    void serialHostUnloadSetsFine() {
        Variabili v;
        auto* host = new FormSeriale(v);
        QCOMPARE(host->findChild<QLabel*>(QStringLiteral("Label3"))->text(), QString());
        QVERIFY(host->close());
        QCOMPARE(v.Stato, QByteArray("Fine"));
        // The serial control goes with the window.
        QPointer<SerialControl> control =
            host->findChild<SerialControl*>(QStringLiteral("MSComm1"));
        QVERIFY(control);
        delete host;
        QVERIFY(!control);
    }

    void theWindowsProceduresAreItsExchanges() {
        Variabili v;
        FormSeriale host(v);
        v.PortaCom = "/dev/tarvo-missing";
        QVERIFY(!host.ApriSeriale());
        QVERIFY(host.exchange().lastFailure().text.contains(QStringLiteral("non esiste")));
        v.Comando = "&C1TA\r";
        host.InviaAllaSeriale();
        QCOMPARE(v.Risposta, SerialExchange::TimeoutText);
        host.ChiudiSeriale();
    }
};

QTEST_MAIN(TestFormSeriale)
#include "tst_formseriale.moc"

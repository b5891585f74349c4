#include "ExclusiveFlag.h"
#include "SimulatedUnit.h"
#include "app/Startup.h"
#include "core/Variabili.h"
#include "ui/main/FormScriveMessaggi.h"
#include "ui/serial/FormSeriale.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

QLineEdit* box(FormScriveMessaggi& window, const char* name) {
    return window.findChild<QLineEdit*>(QLatin1String(name));
}

QPushButton* button(FormScriveMessaggi& window, const char* name) {
    return window.findChild<QPushButton*>(QLatin1String(name));
}

FormScriveMessaggi* mainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<FormScriveMessaggi*>(widget))
            return window;
    }
    return nullptr;
}

FormSeriale* serialHost() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* host = qobject_cast<FormSeriale*>(widget))
            return host;
    }
    return nullptr;
}

// What the startup sequence shows and unloads, as seen from inside it.
struct Observed {
    bool started = false;
    QStringList visibleWindows;
    QByteArray identifierAtLoad;
    QString identifierBox;
    bool hostHidden = false;
    QStringList unloads; // "window:Stato" in the order of destruction
};

// Runs the startup sequence; once the main window is up, records what is
// there and hands the window to the operator's action.
int runWith(Variabili& v, Observed& seen, const std::function<void(FormScriveMessaggi&)>& act,
            std::FILE* errors = stderr) {
    QTimer::singleShot(0, [&] {
        FormScriveMessaggi* window = mainWindow();
        FormSeriale* host = serialHost();
        if (!window || !host)
            return;
        seen.started = true;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible())
                seen.visibleWindows += widget->metaObject()->className();
        }
        seen.identifierAtLoad = v.Identificativo;
        seen.identifierBox = box(*window, "IdStart")->text();
        seen.hostHidden = host->isHidden();
        QObject::connect(window, &QObject::destroyed,
                         [&] { seen.unloads += QStringLiteral("main:") + v.Stato; });
        QObject::connect(host, &QObject::destroyed,
                         [&] { seen.unloads += QStringLiteral("serial:") + v.Stato; });
        act(*window);
    });
    return Startup::run(v, errors);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

  private slots:
    void leavingEndsTheProgram_data() {
        QTest::addColumn<bool>("exitButton");
        QTest::newRow("Exit") << true;
        QTest::newRow("close box") << false;
    }

    void leavingEndsTheProgram() {
        QFETCH(bool, exitButton);
        Variabili v;
        Observed seen;
        const int code = runWith(v, seen, [&](FormScriveMessaggi& window) {
            QCOMPARE(v.Stato, QByteArray("aspetta"));
            if (exitButton)
                QTest::mouseClick(button(window, "Command2"), Qt::LeftButton);
            else
                window.close();
        });
        QCOMPARE(code, 0);
        QVERIFY(seen.started);
        QCOMPARE(seen.visibleWindows, QStringList(QStringLiteral("FormScriveMessaggi")));
        QVERIFY(seen.hostHidden);
        QCOMPARE(seen.identifierAtLoad, QByteArray("&C1"));
        QCOMPARE(seen.identifierBox, QStringLiteral("&C1"));
        QCOMPARE(seen.unloads,
                 QStringList({QStringLiteral("main:Finisci"), QStringLiteral("serial:Fine")}));
        QCOMPARE(v.Stato, QByteArray("Fine"));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
        QCOMPARE(QCoreApplication::applicationName(),
                 QStringLiteral("Tarvodisp programmazione scritte"));
    }

    void closeDuringPresenceTestEndsAfterIt() {
        SimulatedUnit::Options options;
        options.replyDelayMs = 500;
        SimulatedUnit unit(options);
        QString error;
        QVERIFY2(unit.start(&error), qPrintable(error));
        Variabili v;
        Observed seen;
        QString text2AfterTest;
        connect(&unit, &SimulatedUnit::frameReceived, this, [&] {
            FormScriveMessaggi* window = mainWindow();
            QVERIFY(window);
            window->close();
            QVERIFY(window->isVisible());
        });
        const int code = runWith(v, seen, [&](FormScriveMessaggi& window) {
            box(window, "Text3")->setText(unit.devicePath());
            connect(box(window, "Text2"), &QLineEdit::textChanged, this,
                    [&](const QString& text) { text2AfterTest = text; });
            QTest::mouseClick(button(window, "Command3"), Qt::LeftButton);
        });
        QCOMPARE(code, 0);
        QCOMPARE(unit.framesReceived(), 1);
        QCOMPARE(text2AfterTest, QStringLiteral("Tarvo non risponde Messo in attesa seriale?"));
        QCOMPARE(seen.unloads,
                 QStringList({QStringLiteral("main:Finisci"), QStringLiteral("serial:Fine")}));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
        // The port has been let go: another program can open it.
        QSerialPort port(unit.devicePath());
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    }

    // A logout, Ctrl+C or kill (SIGHUP, SIGINT, SIGTERM) during a run lets the exchange under
    // way finish, sends nothing more, gives the port back as it was found and
    // closes the window; the program says where the run stopped and ends with
    // the signal's status.
    void aSignalEndsTheRunBetweenExchanges_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("SIGTERM") << int(SIGTERM) << QByteArray("SIGTERM");
        QTest::newRow("SIGHUP") << int(SIGHUP) << QByteArray("SIGHUP");
        QTest::newRow("SIGINT") << int(SIGINT) << QByteArray("SIGINT");
    }
    void aSignalEndsTheRunBetweenExchanges() {
        QFETCH(int, signalNumber);
        QFETCH(QByteArray, name);
        SimulatedUnit::Options options;
        options.replyDelayMs = 200;
        SimulatedUnit unit(options);
        QString error;
        QVERIFY2(unit.start(&error), qPrintable(error));
        unit.setText(0, "PRIMO");
        connect(&unit, &SimulatedUnit::frameReceived, this,
                [signalNumber] { ::raise(signalNumber); });
        Variabili v;
        Observed seen;
        const std::unique_ptr<std::FILE, int (*)(std::FILE*)> errors(std::tmpfile(), &std::fclose);
        QVERIFY(errors);
        const int code = runWith(
            v, seen,
            [&](FormScriveMessaggi& window) {
                box(window, "Text3")->setText(unit.devicePath());
                QTest::mouseClick(button(window, "LeggiTesti"), Qt::LeftButton);
            },
            errors.get());
        QCOMPARE(code, 128 + signalNumber);
        std::rewind(errors.get());
        char line[300] = {};
        QVERIFY(std::fgets(line, sizeof line, errors.get()));
        QCOMPARE(QByteArray(line),
                 "tarvodisp: interrotto da " + name +
                     " durante la lettura, dopo l'indirizzo 000 (1 di 512); porta chiusa, "
                     "nulla \xc3\xa8 stato salvato.\n");
        QCOMPARE(unit.framesReceived(), 1);
        // The reply on its way when the signal came was still taken.
        QCOMPARE(v.Messaggi[0], unit.text(0));
        QCOMPARE(seen.unloads,
                 QStringList({QStringLiteral("main:Finisci"), QStringLiteral("serial:Fine")}));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
        QCOMPARE(exclusiveFlag(unit.devicePath()), std::optional<bool>(false));
    }

    // Idle, a signal closes the window as its close box does.
    void aSignalWhileIdleJustCloses() {
        Variabili v;
        Observed seen;
        const int code = runWith(v, seen, [](FormScriveMessaggi&) { ::raise(SIGTERM); });
        QCOMPARE(code, 0);
        QCOMPARE(seen.unloads,
                 QStringList({QStringLiteral("main:Finisci"), QStringLiteral("serial:Fine")}));
    }

    void portIsFreeAfterTestAndExit() {
        SimulatedUnit unit;
        QString error;
        QVERIFY2(unit.start(&error), qPrintable(error));
        Variabili v;
        Observed seen;
        QString text2;
        runWith(v, seen, [&](FormScriveMessaggi& window) {
            box(window, "Text3")->setText(unit.devicePath());
            QTest::mouseClick(button(window, "Command3"), Qt::LeftButton);
            text2 = box(window, "Text2")->text();
            QTest::mouseClick(button(window, "Command2"), Qt::LeftButton);
        });
        QCOMPARE(text2, QStringLiteral("Tarvo risponde TA"));
        QCOMPARE(seen.unloads,
                 QStringList({QStringLiteral("main:Finisci"), QStringLiteral("serial:Fine")}));
        QSerialPort port(unit.devicePath());
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

#include "core/EventWait.h"
#include "core/Pausa.h"
#include "core/ShownText.h"
#include "core/StopRequests.h"
#include "core/Variabili.h"
#include "core/Windows1252.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QStringDecoder>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

class TestHelpers : public QObject {
    Q_OBJECT
  private slots:
    void pausaWaitsAndRunsEvents() {
        Variabili v;
        bool ran = false;
        QTimer::singleShot(0, this, [&ran] { ran = true; });
        QElapsedTimer clock;
        clock.start();
        Pausa(v, 10);
        QVERIFY(clock.elapsed() >= 9);
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(ran);
    }

    void pausaEndsWhenTheProgramCloses() {
        Variabili v;
        // A coarse timer, a window message on Windows: Wine hands a precise
        // one (a multimedia timer) to no loop of processEvents().
        QTimer::singleShot(50, Qt::CoarseTimer, this, [&v] { v.closeRequested = true; });
        QElapsedTimer clock;
        clock.start();
        Pausa(v, 60000);
        QVERIFY(clock.elapsed() < 30000);
    }

    void waitEndsAtTheDeadlineWithoutEvents() {
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!EventWait::until([] { return false; }, QDeadlineTimer(50)));
        QVERIFY(clock.elapsed() >= 49);
    }

    void windows1252KeepsEveryByte() {
        QByteArray all;
        for (int byte = 0; byte < 256; ++byte)
            all += char(byte);
        const QString shown = Windows1252::decode(all);
        QCOMPARE(shown.size(), 256);
        QCOMPARE(shown.at(0x80), QChar(0x20AC));
        QCOMPARE(Windows1252::encode(shown), std::optional<QByteArray>(all));
        QVERIFY(!Windows1252::encode(QStringLiteral("ok \u6F22")).has_value());
        QCOMPARE(Windows1252::firstUnencodable(QStringLiteral("ok \u6F22")),
                 QStringLiteral("\u6F22"));
        // The program's own table agrees with the code page as ICU knows it,
        // where Qt has ICU (not on Windows).
        QStringDecoder reference("windows-1252");
        if (reference.isValid()) {
            for (int byte = 0x80; byte < 0x100; ++byte) {
                const char c = char(byte);
                const QString expected = reference.decode(QByteArrayView(&c, 1));
                if (expected != QChar(QChar::ReplacementCharacter))
                    QCOMPARE(shown.at(byte), expected.at(0));
            }
        }
    }

    void shownTextNamesControlBytes() {
        QCOMPARE(ShownText::quoted(QByteArray("A\rB\tC\x7f\x81 \xe8")),
                 QStringLiteral("«A⟨0D⟩B⟨09⟩C⟨7F⟩⟨81⟩ è»"));
        QCOMPARE(ShownText::quoted(QByteArray("\0", 1)), QStringLiteral("«⟨00⟩»"));
    }

#ifdef Q_OS_WIN
    // The console's Ctrl+Break reaches the event loop as a stop request with
    // SIGTERM's number, so that the exit status is the same as on Linux.
    void consoleEventsArriveAsStopRequests() {
        StopRequests requests;
        QVERIFY(requests.watching());
        QSignalSpy arrived(&requests, &StopRequests::arrived);
        // Wine 8 generates no console event (ERROR_INVALID_HANDLE with a
        // console, ERROR_NOT_ENOUGH_MEMORY without); tools/windows.sh sends a
        // running tarvo-cli.exe Ctrl+C instead.
        if (::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
            QSKIP("Wine non genera eventi della console");
        QVERIFY(::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0));
        QVERIFY(arrived.wait(5000));
        QCOMPARE(requests.take(), 15);
        QCOMPARE(requests.take(), 0);
        QCOMPARE(StopRequests::name(15), QStringLiteral("Ctrl+Interr"));
    }
#endif
};

QTEST_MAIN(TestHelpers)
#include "tst_helpers.moc"

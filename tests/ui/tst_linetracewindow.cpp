#include "WindowFixture.h"
#include "serial/LineTrace.h"
#include "ui/trace/LineTraceWindow.h"

#include <QAbstractItemModel>
#include <QFileDialog>
#include <QLabel>
#include <QTableView>
#include <QtTest>

class TestLineTraceWindow : public QObject {
    Q_OBJECT

    static QString cell(const QTableView* table, int row, int column) {
        return table->model()->index(row, column).data().toString();
    }

  private slots:
    void f12OpensAndClosesTheTraceThatFollowsARun() {
        WindowFixture f;
        f.selectFile("prova\r\n000UNO\r\n001DUE\r\nend\r\n");
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTest::keyClick(f.window.get(), Qt::Key_F12);
        auto* window = f.window->findChild<LineTraceWindow*>();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Traccia della linea"));
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.button("Command1")->click();
        QCOMPARE(f.text2(), QByteArray("DATI UGUALI  TUTTO OK "));
        const auto* table = window->findChild<QTableView*>(QStringLiteral("traceTable"));
        QTRY_COMPARE(table->model()->rowCount(), 5);
        // The operation opens with its date, time and name.
        QVERIFY(cell(table, 0, 2).mid(19).startsWith(QStringLiteral(" · Invia file al TARVO: ")));
        const QDateTime opened = QDateTime::fromString(cell(table, 0, 2).left(19),
                                                       QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        QVERIFY2(opened.isValid() && qAbs(opened.secsTo(QDateTime::currentDateTime())) < 3600,
                 qPrintable(cell(table, 0, 2)));
        QCOMPARE(cell(table, 1, 2), QStringLiteral("&C10W016000UNO             <CR>"));
        QCOMPARE(cell(table, 4, 4), QStringLiteral("&C10R16DUE             <CR>"));
        QCOMPARE(cell(table, 4, 6), QStringLiteral("ok"));
        QTest::keyClick(f.window.get(), Qt::Key_F12);
        QVERIFY(!window->isVisible());
    }

    // Tab leaves the table for the buttons instead of walking its cells.
    void tabGoesFromTheTableToTheButtons() {
        LineTrace trace(3);
        trace.record({0, 0, "1", "\r", LineTrace::Mark::None, {}});
        LineTraceWindow window(trace);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* table = window.findChild<QTableView*>(QStringLiteral("traceTable"));
        QTRY_COMPARE(table->model()->rowCount(), 1);
        table->setFocus();
        table->setCurrentIndex(table->model()->index(0, 0));
        QTest::keyClick(table, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(),
                 window.findChild<QPushButton*>(QStringLiteral("copyTrace")));
    }

    void theTableFollowsTheRingAndIsSavedOnlyWhereChosen() {
        LineTrace trace(3);
        LineTraceWindow window(trace);
        window.show();
        for (const char* frame : {"1", "2", "3", "4", "5"})
            trace.record({0, 0, frame, "\r", LineTrace::Mark::None, {}});
        trace.markLast(LineTrace::Mark::Mismatch);
        const auto* table = window.findChild<QTableView*>(QStringLiteral("traceTable"));
        QTRY_COMPARE(table->model()->rowCount(), 3);
        QCOMPARE(cell(table, 0, 2), QStringLiteral("3"));
        QTRY_COMPARE(cell(table, 2, 6), QStringLiteral("dati diversi"));

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("traccia.txt"));
        const auto choose = [&](const QString& chosen) {
            window.findChild<QPushButton*>(QStringLiteral("saveTrace"))->click();
            auto* chooser = window.findChild<QFileDialog*>();
            QVERIFY(chooser && chooser->isVisible());
            chooser->selectFile(chosen);
            static_cast<QDialog*>(chooser)->accept();
        };
        const auto message = [&] {
            return window.findChild<QLabel*>(QStringLiteral("traceMessage"))->text();
        };
        choose(path);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArrayList lines = saved.readAll().split('\n');
        saved.close();
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines[0].startsWith("Tempo (s)\tDurata (ms)\tInviato"));
        QVERIFY(lines[3].endsWith("5\t35\t<CR>\t0D\tdati diversi"));

        // An existing file is replaced only when chosen a second time.
        trace.record({0, 0, "6", {}, LineTrace::Mark::None, {}});
        choose(path);
        QVERIFY(message().contains(QStringLiteral("esiste già")));
        QTRY_VERIFY(window.findChild<QFileDialog*>()->isVisible());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(!saved.readAll().contains("\t36\t"));
        saved.close();
        choose(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("\t36\t"));
        saved.close();
        // The confirmation is spent by the save: the next one asks again.
        trace.record({0, 0, "7", {}, LineTrace::Mark::None, {}});
        choose(path);
        QVERIFY(message().contains(QStringLiteral("esiste già")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(!saved.readAll().contains("\t37\t"));
        saved.close();
        QTRY_VERIFY(window.findChild<QFileDialog*>()->isVisible());

        QVERIFY(!window.saveTo(folder.filePath(QStringLiteral("manca/traccia.txt"))));
        QVERIFY(message().contains(QStringLiteral("non salvata")));
    }
};

QTEST_MAIN(TestLineTraceWindow)
#include "tst_linetracewindow.moc"

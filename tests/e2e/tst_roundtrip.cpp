#include "Controls.h"
#include "WhenShown.h"
#include "WindowFixture.h"
#include "ui/save/FormSalvaFile.h"
#include "ui/editor/EditaMessaggi.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

// The technician's whole round trip through the real windows: read the unit,
// save, edit one text, save under a new name, send it back and see it verified.
class TestRoundTrip : public QObject {
    Q_OBJECT
  private slots:
    void readSaveEditSendVerify() {
        QTemporaryDir folder;
        QVERIFY(QDir::setCurrent(folder.path()));
        WindowFixture f;
        for (int address = 0; address < 512; ++address)
            f.unit.setText(address, "testo " + QByteArray::number(address) + " \xe0");

        // Read all texts and save them as letti.tvo.
        {
            WhenShown<FormSalvaFile> saver([](FormSalvaFile& window) {
                controlOf<QLineEdit>(window, "Text1")->setText(QStringLiteral("letti.tvo"));
                controlOf<QLineEdit>(window, "Text2")->setText(QStringLiteral("Letti dal TARVO"));
                QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
            });
            QTest::mouseClick(f.button("LeggiTesti"), Qt::LeftButton);
            QCOMPARE(saver.times(), 1);
        }
        const QString letti = QDir(folder.path()).filePath(QStringLiteral("letti.tvo"));
        QCOMPARE(f.v.FileSelezionato, QFile::encodeName(letti));

        // Edit address 005 and save the text as nuovi.tvo.
        int editors = 0;
        bool textFound = false;
        {
            WhenShown<FormSalvaFile> saver([](FormSalvaFile& window) {
                controlOf<QLineEdit>(window, "Text1")->setText(QStringLiteral("nuovi.tvo"));
                QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
            });
            WhenShown<EditaMessaggi> editor([&](EditaMessaggi& window) {
                ++editors;
                QString text = controlOf<MessageTextArea>(window, "Text1")->toPlainText();
                const QString old = QStringLiteral("005testo 5 \u00e0       *");
                textFound = text.contains(old);
                text.replace(old, QStringLiteral("005NUOVO TESTO \u20ac!  *"));
                controlOf<MessageTextArea>(window, "Text1")->setPlainText(text);
                QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
                QTest::mouseClick(controlOf<QPushButton>(window, "Command2"), Qt::LeftButton);
            });
            QTest::mouseClick(f.button("Command5"), Qt::LeftButton);
            QCOMPARE(saver.times(), 1);
        }
        QCOMPARE(editors, 1);
        QVERIFY(textFound);
        QCOMPARE(f.v.FileSelezionato,
                 QFile::encodeName(QDir(folder.path()).filePath(QStringLiteral("nuovi.tvo"))));

        // Send the new file: every text is written and verified.
        QTest::mouseClick(f.button("Command1"), Qt::LeftButton);
        QCOMPARE(f.box("Text2")->text(), QStringLiteral("DATI UGUALI  TUTTO OK "));
        QCOMPARE(f.unit.text(5), QByteArray("NUOVO TESTO \x80!  "));
        QCOMPARE(f.unit.text(6), QByteArray("testo 6 \xe0       "));
        QCOMPARE(f.unit.writesReceived(), 512);
        QVERIFY(f.button("Command4")->isHidden());
        QVERIFY(!f.portOpen());

        // The file read from the unit is as it was.
        QFile first(letti);
        QVERIFY(first.open(QIODevice::ReadOnly));
        const QByteArray content = first.readAll();
        QVERIFY(content.startsWith("Letti dal TARVO\r\n000testo 0 \xe0       *\r\n"));
        QVERIFY(content.endsWith("511testo 511 \xe0     *\r\n\r\nend\r\n"));
    }
};

QTEST_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"

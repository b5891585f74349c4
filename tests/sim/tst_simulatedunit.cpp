#include "FileDescriptor.h"
#include "SimulatedUnit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int WaitMs = 5000;

// The program's end of the line: the unit's device opened raw and
// non-blocking, collecting whatever the unit sends.
class SlavePort {
  public:
    explicit SlavePort(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        termios settings{};
        if (m_fd.isOpen() && ::tcgetattr(m_fd.get(), &settings) == 0) {
            ::cfmakeraw(&settings);
            ::tcsetattr(m_fd.get(), TCSANOW, &settings);
        }
    }

    bool isOpen() const { return m_fd.isOpen(); }

    // Writes every byte, running events while the line cannot take more.
    bool write(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t count =
                ::write(m_fd.get(), bytes.constData() + done, bytes.size() - done);
            if (count > 0) {
                done += count;
            } else if (count < 0 && errno == EAGAIN) {
                if (!QTest::qWaitFor([this] { return ready(POLLOUT); }, WaitMs))
                    return false;
            } else if (count < 0 && errno != EINTR) {
                return false;
            }
        }
        return true;
    }

    // Waits for count bytes and hands them over; fewer if they do not come.
    QByteArray take(qsizetype count, int timeoutMs = WaitMs) {
        (void)QTest::qWaitFor(
            [&] {
                collect();
                return m_received.size() >= count;
            },
            timeoutMs);
        const QByteArray first = m_received.left(count);
        m_received.remove(0, first.size());
        return first;
    }

    // Waits until something arrives and returns all that has arrived so far.
    QByteArray takeSome() {
        (void)QTest::qWaitFor(
            [&] {
                collect();
                return !m_received.isEmpty();
            },
            WaitMs);
        return std::exchange(m_received, {});
    }

    // Waits until reading tells that the other side has gone.
    bool waitForHangUp() {
        return QTest::qWaitFor(
            [this] {
                collect();
                return m_hungUp;
            },
            WaitMs);
    }

  private:
    bool ready(short events) const {
        pollfd request{m_fd.get(), events, 0};
        return ::poll(&request, 1, 0) > 0;
    }

    void collect() {
        char buffer[4096];
        for (;;) {
            const ssize_t count = ::read(m_fd.get(), buffer, sizeof buffer);
            if (count > 0) {
                m_received.append(buffer, count);
            } else if (count < 0 && errno == EINTR) {
                continue;
            } else {
                if (count == 0 || errno != EAGAIN)
                    m_hungUp = true;
                return;
            }
        }
    }

    FileDescriptor m_fd;
    QByteArray m_received;
    bool m_hungUp = false;
};

const QByteArray Blank(16, ' ');

QByteArray writeFrame(int address, const QByteArray& text, const QByteArray& identifier = "&C1") {
    return identifier + "0W016" + QByteArray::number(address).rightJustified(3, '0') + text + '\r';
}

QByteArray readFrame(int address, const QByteArray& identifier = "&C1") {
    return identifier + "0R" + QByteArray::number(address).rightJustified(3, '0') + '\r';
}

QByteArray bytesFrom(int first, int count) {
    QByteArray bytes;
    for (int value = first; value < first + count; ++value)
        bytes.append(static_cast<char>(value));
    return bytes;
}

SimulatedUnit::Options withIdentifier(const QByteArray& identifier) {
    SimulatedUnit::Options options;
    options.identifier = identifier;
    return options;
}

// Runs tarvo-sim and reads the device path from its first line.
class SimProgram {
  public:
    explicit SimProgram(const QStringList& arguments) {
        m_process.start(QStringLiteral(TARVO_SIM_EXECUTABLE), arguments);
    }
    ~SimProgram() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    QProcess& process() { return m_process; }

    QString readLine() {
        (void)QTest::qWaitFor([this] { return m_process.canReadLine(); }, 10'000);
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

    bool stop(int signal) {
        ::kill(static_cast<pid_t>(m_process.processId()), signal);
        return m_process.waitForFinished(10'000);
    }

  private:
    QProcess m_process;
};

} // namespace

class TestSimulatedUnit : public QObject {
    Q_OBJECT

  private slots:
    // Frames and replies.
    void answersFrames_data();
    void answersFrames();
    void framesMayArriveInPieces();
    void overlongNoiseIsDropped();

    // Memory.
    void writtenTextReadsBack_data();
    void writtenTextReadsBack();
    void everyByteButCrIsStored();
    void memoryFileSetsTexts();
    void missingMemoryFileStopsStart();

    // Faults on demand.
    void silentFromNthFrame();
    void refusesWritesFromNth();
    void garbledReplies_data();
    void garbledReplies();
    void shortReplies_data();
    void shortReplies();
    void refusesBadOptions_data();
    void refusesBadOptions();

    // The line.
    void pacingTakesTheWireTime_data();
    void pacingTakesTheWireTime();
    void pacedReplyComesByteByByte();
    void repliesWaitWhileTheLineIsFull();
    void repliesWaitWhileThePortIsClosed();
    void vanishHangsUpTheLine();
    void adapterLatencyHoldsReplies();
    void publishesAStableLink();

    // The program.
    void programPrintsPathAndStopsCleanly_data();
    void programPrintsPathAndStopsCleanly();
    void programLoadsAndDumpsMemory();
    void programRefusesBadArguments_data();
    void programRefusesBadArguments();
    void programDocumentsItsOptions();
};

void TestSimulatedUnit::answersFrames_data() {
    QTest::addColumn<QByteArray>("identifier");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("testReply");

    const QByteArray text = "HELLO           ";
    const QByteArray ack = "&C10WR\r";
    const QByteArray nak = "&C10WN\r";
    const QByteArray test = "&C1TA\r";

    QTest::newRow("test") << QByteArray("&C1") << QByteArray("&C1TA\r") << test << test;
    QTest::newRow("write") << QByteArray("&C1") << writeFrame(7, text) << ack << test;
    QTest::newRow("read blank text")
        << QByteArray("&C1") << readFrame(511) << "&C10R16" + Blank + '\r' << test;
    QTest::newRow("write with short text refused")
        << QByteArray("&C1") << QByteArray("&C10W016007HELLO\r") << nak << test;
    QTest::newRow("write with long text refused")
        << QByteArray("&C1") << writeFrame(7, text + 'X') << nak << test;
    QTest::newRow("write to address 512 refused")
        << QByteArray("&C1") << writeFrame(512, text) << nak << test;
    QTest::newRow("write with length field 015 refused")
        << QByteArray("&C1") << "&C10W015007" + text + '\r' << nak << test;
    QTest::newRow("write to address with letters refused")
        << QByteArray("&C1") << "&C10W0160A7" + text + '\r' << nak << test;
    QTest::newRow("read of address 512 silent")
        << QByteArray("&C1") << readFrame(512) << QByteArray() << test;
    QTest::newRow("read with two digits silent")
        << QByteArray("&C1") << QByteArray("&C10R51\r") << QByteArray() << test;
    QTest::newRow("read with four digits silent")
        << QByteArray("&C1") << QByteArray("&C10R0001\r") << QByteArray() << test;
    QTest::newRow("other identifier silent")
        << QByteArray("&C1") << QByteArray("&C2TA\r") << QByteArray() << test;
    QTest::newRow("identifier in lower case silent")
        << QByteArray("&C1") << QByteArray("&c1TA\r") << QByteArray() << test;
    QTest::newRow("command in lower case silent")
        << QByteArray("&C1") << QByteArray("&C1ta\r") << QByteArray() << test;
    QTest::newRow("unknown command silent")
        << QByteArray("&C1") << QByteArray("&C1XY\r") << QByteArray() << test;
    QTest::newRow("test with a byte more silent")
        << QByteArray("&C1") << QByteArray("&C1TAX\r") << QByteArray() << test;
    QTest::newRow("lone CR silent")
        << QByteArray("&C1") << QByteArray("\r") << QByteArray() << test;

    QTest::newRow("4-char identifier: test")
        << QByteArray("&C12") << QByteArray("&C12TA\r") << test << test;
    QTest::newRow("4-char identifier: write")
        << QByteArray("&C12") << writeFrame(0, text, "&C12") << ack << test;
    QTest::newRow("4-char identifier: read")
        << QByteArray("&C12") << readFrame(0, "&C12") << "&C10R16" + Blank + '\r' << test;
    QTest::newRow("4-char identifier: first 3 chars silent")
        << QByteArray("&C12") << QByteArray("&C1TA\r") << QByteArray() << test;
    QTest::newRow("2-char identifier: padded") << QByteArray("T7") << QByteArray("T7TA\r")
                                               << QByteArray("T7 TA\r") << QByteArray("T7 TA\r");
    QTest::newRow("empty identifier: test")
        << QByteArray("") << QByteArray("TA\r") << QByteArray("   TA\r") << QByteArray("   TA\r");
    QTest::newRow("empty identifier: read")
        << QByteArray("") << readFrame(1, "") << "   0R16" + Blank + '\r' << QByteArray("   TA\r");
}

// Each frame is followed by a test frame: its reply must come right after the
// frame's own reply, so a silent frame that answered, or a reply with bytes too
// many, shows up.
void TestSimulatedUnit::answersFrames() {
    QFETCH(QByteArray, identifier);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, testReply);

    SimulatedUnit unit(withIdentifier(identifier));
    QString error;
    QVERIFY2(unit.start(&error), qPrintable(error));
    SlavePort port(unit.devicePath());
    QVERIFY(port.isOpen());

    const QByteArray testFrame = identifier + "TA\r";
    QVERIFY(port.write(frame + testFrame));
    QCOMPARE(port.take(reply.size() + testReply.size()), reply + testReply);
    QCOMPARE(unit.framesReceived(), 2);
    QCOMPARE(unit.frames(), QByteArrayList({frame, testFrame}));
}

void TestSimulatedUnit::framesMayArriveInPieces() {
    SimulatedUnit unit;
    QVERIFY(unit.start());
    unit.setText(7, "PIECES          ");
    SlavePort port(unit.devicePath());

    // The reply to the test frame shows that the unit has read the start of
    // the read frame as well; the rest follows in a second write.
    QVERIFY(port.write("&C1TA\r&C10R0"));
    QCOMPARE(port.take(6), QByteArray("&C1TA\r"));
    QVERIFY(port.write("07\r"));
    QCOMPARE(port.take(24), QByteArray("&C10R16PIECES          \r"));
    QCOMPARE(unit.frames(), QByteArrayList({"&C1TA\r", readFrame(7)}));
}

void TestSimulatedUnit::overlongNoiseIsDropped() {
    SimulatedUnit unit;
    QVERIFY(unit.start());
    SlavePort port(unit.devicePath());

    const QByteArray noise = "&C1TA" + QByteArray(100'000, 'x') + '\r';
    QVERIFY(port.write(noise + "&C1TA\r"));
    QCOMPARE(port.take(6), QByteArray("&C1TA\r"));
    QCOMPARE(unit.framesReceived(), 2);
    const QByteArray kept = unit.frames().first();
    QVERIFY(kept.size() < 10'000);
    QVERIFY(kept.startsWith("&C1TAxxx"));
    QVERIFY(kept.endsWith("x\r"));
}

void TestSimulatedUnit::writtenTextReadsBack_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("letters and spaces") << 7 << QByteArray("HELLO WORLD     ");
    QTest::newRow("bytes 128 to 143") << 128 << bytesFrom(128, 16);
    QTest::newRow("bytes 240 to 255") << 255 << bytesFrom(240, 16);
    QTest::newRow("control bytes and LF")
        << 300 << QByteArray("\x00\x01\n\x1b\x7f\x08\t\x0c\x0b\x11\x13\x1a\x03\x04\x1c\xff", 16);
    QTest::newRow("first address") << 0 << QByteArray("FIRST           ");
    QTest::newRow("last address") << 511 << QByteArray("LAST            ");
}

void TestSimulatedUnit::writtenTextReadsBack() {
    QFETCH(int, address);
    QFETCH(QByteArray, text);

    SimulatedUnit unit;
    QVERIFY(unit.start());
    SlavePort port(unit.devicePath());

    QVERIFY(port.write(writeFrame(address, text)));
    QCOMPARE(port.take(7), QByteArray("&C10WR\r"));
    QCOMPARE(unit.text(address), text);
    QVERIFY(port.write(readFrame(address)));
    QCOMPARE(port.take(24), "&C10R16" + text + '\r');
}

void TestSimulatedUnit::everyByteButCrIsStored() {
    SimulatedUnit unit;
    QVERIFY(unit.start());
    SlavePort port(unit.devicePath());

    QByteArray all = bytesFrom(0, 256);
    all.replace('\r', "");
    all.append('#');
    QCOMPARE(all.size(), 256);

    for (int i = 0; i < 16; ++i) {
        QVERIFY(port.write(writeFrame(100 + i, all.mid(i * 16, 16))));
        QCOMPARE(port.take(7), QByteArray("&C10WR\r"));
    }
    QByteArray readBack;
    for (int i = 0; i < 16; ++i) {
        QVERIFY(port.write(readFrame(100 + i)));
        const QByteArray reply = port.take(24);
        QCOMPARE(reply.size(), 24);
        readBack += reply.mid(7, 16);
    }
    QCOMPARE(readBack, all);
}

void TestSimulatedUnit::memoryFileSetsTexts() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("memoria.tvo");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Commento: testi di prova\r\n"
               "000FIRST TEXT      and a remainder\r\n"
               "007short\n"
               "511" +
               bytesFrom(0xe0, 16) +
               "\r\n"
               "512NOT AN ADDRESS\r\n"
               "12 not an address\r\n"
               "x01not an address\r\n"
               "end\r\n"
               "042no newline at the end");
    file.close();

    SimulatedUnit::Options options;
    options.memoryFile = path;
    SimulatedUnit unit(options);
    QString error;
    QVERIFY2(unit.start(&error), qPrintable(error));

    QCOMPARE(unit.text(0), QByteArray("FIRST TEXT      "));
    QCOMPARE(unit.text(7), QByteArray("short           "));
    QCOMPARE(unit.text(511), bytesFrom(0xe0, 16));
    QCOMPARE(unit.text(42), QByteArray("no newline at th"));
    QCOMPARE(unit.text(1), Blank);
    QCOMPARE(unit.text(12), Blank);
    QCOMPARE(unit.text(51), Blank);
    QCOMPARE(unit.text(512), QByteArray());

    SlavePort port(unit.devicePath());
    QVERIFY(port.write(readFrame(511)));
    QCOMPARE(port.take(24), "&C10R16" + bytesFrom(0xe0, 16) + '\r');
}

void TestSimulatedUnit::missingMemoryFileStopsStart() {
    QTemporaryDir dir;
    SimulatedUnit::Options options;
    options.memoryFile = dir.filePath("non-esiste.tvo");
    SimulatedUnit unit(options);
    QString error;
    QVERIFY(!unit.start(&error));
    QVERIFY(error.contains("non-esiste.tvo"));
    QVERIFY(!unit.isRunning());
    QVERIFY(unit.devicePath().isEmpty());
}

// Frames 3 and later go unanswered and a write among them changes nothing;
// once the silence is lifted, only the next frame's reply comes.
void TestSimulatedUnit::silentFromNthFrame() {
    SimulatedUnit::Options options;
    options.silentFrom = 3;
    SimulatedUnit unit(options);
    QVERIFY(unit.start());
    SlavePort port(unit.devicePath());

    for (int frame = 1; frame <= 2; ++frame) {
        QVERIFY(port.write("&C1TA\r"));
        QCOMPARE(port.take(6), QByteArray("&C1TA\r"));
    }
    QSignalSpy frames(&unit, &SimulatedUnit::frameReceived);
    QVERIFY(port.write(writeFrame(9, "UNHEARD         ") + "&C1TA\r"));
    QTRY_COMPARE(frames.count(), 2);
    QCOMPARE(unit.text(9), Blank);

    options.silentFrom = 0;
    QVERIFY(unit.setOptions(options));
    QVERIFY(port.write("&C1TA\r"));
    QCOMPARE(port.take(6), QByteArray("&C1TA\r"));
    QCOMPARE(unit.framesReceived(), 5);
}

void TestSimulatedUnit::refusesWritesFromNth() {
    SimulatedUnit::Options options;
    options.refuseWriteFrom = 2;
    SimulatedUnit unit(options);
    QVERIFY(unit.start());
    SlavePort port(unit.devicePath());

    QVERIFY(port.write(writeFrame(1, "ACCEPTED        ")));
    QCOMPARE(port.take(7), QByteArray("&C10WR\r"));
    QVERIFY(port.write("&C1TA\r"));
    QCOMPARE(port.take(6), QByteArray("&C1TA\r"));
    QVERIFY(port.write(writeFrame(2, "REFUSED         ")));
    QCOMPARE(port.take(7), QByteArray("&C10WN\r"));
    QVERIFY(port.write(writeFrame(1, "REFUSED TOO     ")));
    QCOMPARE(port.take(7), QByteArray("&C10WN\r"));
    QCOMPARE(unit.writesReceived(), 3);

    QVERIFY(port.write(readFrame(1) + readFrame(2)));
    QCOMPARE(port.take(48), "&C10R16ACCEPTED        \r&C10R16" + Blank + '\r');
}

void TestSimulatedUnit::garbledReplies_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("healthyReply");

    const QByteArray questions(16, '?');
    QTest::newRow("test") << QByteArray("&C1TA\r") << QByteArray("&C1TA\r");
    QTest::newRow("write") << writeFrame(5, questions) << QByteArray("&C10WR\r");
    QTest::newRow("read of a text of '?'") << readFrame(5) << "&C10R16" + questions + '\r';
}

// A garbled reply has the healthy length and final CR, and every other byte
// differs from the healthy one, so no check on it can pass.
void TestSimulatedUnit::garbledReplies() {
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, healthyReply);

    SimulatedUnit::Options options;
    options.garble = true;
    SimulatedUnit unit(options);
    QVERIFY(unit.start());
    unit.setText(5, QByteArray(16, '?'));
    SlavePort port(unit.devicePath());

    QVERIFY(port.write(frame));
    const QByteArray reply = port.take(healthyReply.size());
    QCOMPARE(reply.size(), healthyReply.size());
    QCOMPARE(reply.back(), '\r');
    for (qsizetype i = 0; i + 1 < reply.size(); ++i)
        QVERIFY2(reply[i] != healthyReply[i], qPrintable(QString("byte %1").arg(i)));

    options.garble = false;
    QVERIFY(unit.setOptions(options));
    QVERIFY(port.write("&C1TA\r"));
    QCOMPARE(port.take(6), QByteArray("&C1TA\r"));
}

void TestSimulatedUnit::shortReplies_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("test") << QByteArray("&C1TA\r") << QByteArray("&C\r");
    QTest::newRow("write") << writeFrame(5, "HELLO           ") << QByteArray("&C\r");
    QTest::newRow("read") << readFrame(6) << QByteArray("&C10R16HELL\r");
}

void TestSimulatedUnit::shortReplies() {
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);

    SimulatedUnit::Options options;
    options.shortReplies = true;
    SimulatedUnit unit(options);
    QVERIFY(unit.start());
    unit.setText(6, "HELLO");
    SlavePort port(unit.devicePath());

    QVERIFY(port.write(frame));
    QTRY_COMPARE(unit.framesReceived(), 1);
    options.shortReplies = false;
    QVERIFY(unit.setOptions(options));
    QVERIFY(port.write("&C1TA\r"));
    QCOMPARE(port.take(reply.size() + 6), reply + "&C1TA\r");
}

void TestSimulatedUnit::refusesBadOptions_data() {
    QTest::addColumn<SimulatedUnit::Options>("options");

    SimulatedUnit::Options options;
    options.identifier = "&C\r1";
    QTest::newRow("CR in identifier") << options;
    options = {};
    options.baud = -9600;
    QTest::newRow("negative baud rate") << options;
    options = {};
    options.replyDelayMs = -1;
    QTest::newRow("negative delay") << options;
    options = {};
    options.silentFrom = -1;
    QTest::newRow("negative silent frame") << options;
    options = {};
    options.refuseWriteFrom = -1;
    QTest::newRow("negative refused write") << options;
    options = {};
    options.adapterLatencyMs = 256;
    QTest::newRow("adapter latency beyond 255 ms") << options;
}

void TestSimulatedUnit::refusesBadOptions() {
    QFETCH(SimulatedUnit::Options, options);

    SimulatedUnit bad(options);
    QString error;
    QVERIFY(!bad.start(&error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!bad.isRunning());

    SimulatedUnit good;
    error.clear();
    QVERIFY(!good.setOptions(options, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(good.options(), SimulatedUnit::Options());
}

void TestSimulatedUnit::pacingTakesTheWireTime_data() {
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("exchanges");
    QTest::addColumn<int>("minimumMs");

    const QByteArray readReply = "&C10R16" + Blank + '\r';
    // 4 x (9 + 24) bytes of 10 bits at 9600 baud: 137.5 ms.
    QTest::newRow("9600 baud") << 9600 << 0 << readFrame(0) << readReply << 4 << 110;
    QTest::newRow("reply delay") << 0 << 150 << QByteArray("&C1TA\r") << QByteArray("&C1TA\r") << 1
                                 << 120;
    // (6 + 6) bytes at 1200 baud: 100 ms, and the delay.
    QTest::newRow("1200 baud and delay")
        << 1200 << 50 << QByteArray("&C1TA\r") << QByteArray("&C1TA\r") << 1 << 120;
}

void TestSimulatedUnit::pacingTakesTheWireTime() {
    QFETCH(int, baud);
    QFETCH(int, delayMs);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    QFETCH(int, exchanges);
    QFETCH(int, minimumMs);

    SimulatedUnit::Options options;
    options.baud = baud;
    options.replyDelayMs = delayMs;
    SimulatedUnit unit(options);
    QVERIFY(unit.start());
    SlavePort port(unit.devicePath());

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < exchanges; ++i) {
        QVERIFY(port.write(frame));
        QCOMPARE(port.take(reply.size()), reply);
    }
    QVERIFY2(clock.elapsed() >= minimumMs, qPrintable(QString("%1 ms").arg(clock.elapsed())));
}

// At 1200 baud the 24 bytes of a read reply take 200 ms: the first bytes are
// there well before the last.
void TestSimulatedUnit::pacedReplyComesByteByByte() {
    SimulatedUnit::Options options;
    options.baud = 1200;
    SimulatedUnit unit(options);
    QVERIFY(unit.start());
    SlavePort port(unit.devicePath());

    QVERIFY(port.write(readFrame(3)));
    const QByteArray first = port.takeSome();
    QVERIFY(!first.isEmpty());
    QVERIFY2(first.size() < 24, qPrintable(QString("%1 bytes at once").arg(first.size())));
    QCOMPARE(first + port.take(24 - first.size()), "&C10R16" + Blank + '\r');
}

// Replies to thousands of frames fill the pseudo-terminal while nobody reads;
// the unit keeps them until the line takes them, and none is lost.
void TestSimulatedUnit::repliesWaitWhileTheLineIsFull() {
    SimulatedUnit unit;
    QVERIFY(unit.start());
    unit.setText(44, "FULL LINE TEST  ");
    SlavePort port(unit.devicePath());

    constexpr int Frames = 6000;
    QByteArray frames;
    for (int i = 0; i < Frames; ++i)
        frames += readFrame(44);
    QVERIFY(port.write(frames));
    QTRY_COMPARE_WITH_TIMEOUT(unit.framesReceived(), Frames, 30'000);

    const QByteArray reply = "&C10R16FULL LINE TEST  \r";
    const QByteArray received = port.take(Frames * reply.size(), 30'000);
    QCOMPARE(received.size(), Frames * reply.size());
    QCOMPARE(received, reply.repeated(Frames));
}

// The unit holds its own end of the line open, so a reply sent while the
// program has the port closed waits there for the program's next opening, and
// the unit still listens once the program has let go of the port.
void TestSimulatedUnit::repliesWaitWhileThePortIsClosed() {
    SimulatedUnit::Options options;
    options.replyDelayMs = 100;
    SimulatedUnit unit(options);
    QVERIFY(unit.start());
    QSignalSpy sent(&unit, &SimulatedUnit::replySent);
    {
        SlavePort port(unit.devicePath());
        QVERIFY(port.write("&C1TA\r"));
        QTRY_COMPARE(unit.framesReceived(), 1);
    }
    QVERIFY(sent.wait(WaitMs));
    QCOMPARE(sent.first().first().toByteArray(), QByteArray("&C1TA\r"));
    SlavePort reopened(unit.devicePath());
    QCOMPARE(reopened.take(6), QByteArray("&C1TA\r"));
    QVERIFY(reopened.write(readFrame(0)));
    QCOMPARE(reopened.take(24), "&C10R16" + Blank + '\r');
}

void TestSimulatedUnit::vanishHangsUpTheLine() {
    SimulatedUnit unit;
    QVERIFY(unit.start());
    SlavePort port(unit.devicePath());
    QVERIFY(port.write("&C1TA\r"));
    QCOMPARE(port.take(6), QByteArray("&C1TA\r"));

    unit.vanish();
    QVERIFY(!unit.isRunning());
    QVERIFY(port.waitForHangUp());
}

// Each reply waits for the adapter's next tick, so exchanges one after the
// other are about a tick apart, however fast the unit answers. The bound
// leaves room for timers that fire a little early: without the hold the four
// exchanges take a few milliseconds.
void TestSimulatedUnit::adapterLatencyHoldsReplies() {
    SimulatedUnit::Options options;
    options.adapterLatencyMs = 100;
    SimulatedUnit unit(options);
    QVERIFY(unit.start());
    SlavePort port(unit.devicePath());
    QVERIFY(port.write("&C1TA\r"));
    QCOMPARE(port.take(6), QByteArray("&C1TA\r"));
    QElapsedTimer clock;
    clock.start();
    for (int exchange = 0; exchange < 4; ++exchange) {
        QVERIFY(port.write(readFrame(exchange)));
        QCOMPARE(port.take(24), "&C10R16" + Blank + '\r');
    }
    QVERIFY2(clock.elapsed() >= 300, qPrintable(QString::number(clock.elapsed())));
}

// A name is held by one running unit at a time (coming back under the same
// name is tested with the serial host); without a name each takes a free one.
void TestSimulatedUnit::publishesAStableLink() {
    SimulatedUnit::Options options;
    options.publishLink = true;
    options.linkName = QStringLiteral("test-link-%1").arg(QCoreApplication::applicationPid());
    SimulatedUnit unit(options), rival(options);
    QVERIFY(unit.start());
    QCOMPARE(QFileInfo(unit.linkPath()).symLinkTarget(), unit.devicePath());
    QString error;
    QVERIFY(!rival.start(&error));
    QVERIFY2(error.contains(QStringLiteral("già usato")), qPrintable(error));
    options.linkName.clear();
    SimulatedUnit first(options), second(options);
    QVERIFY(first.start() && second.start());
    QVERIFY(first.linkPath() != second.linkPath());
}

void TestSimulatedUnit::programPrintsPathAndStopsCleanly_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestSimulatedUnit::programPrintsPathAndStopsCleanly() {
    QFETCH(int, signal);

    SimProgram program({});
    const QString path = program.readLine();
    QVERIFY2(path.startsWith("/dev/pts/"), qPrintable(path));
    QVERIFY(!program.readLine().isEmpty());
    const QString link = program.readLine().section(' ', -1);
    QCOMPARE(QFileInfo(link).symLinkTarget(), path);

    SlavePort port(path);
    QVERIFY(port.isOpen());
    QVERIFY(port.write("&C1TA\r"));
    QCOMPARE(port.take(6), QByteArray("&C1TA\r"));

    QVERIFY(program.stop(signal));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
    QCOMPARE(program.process().readAllStandardError(), QByteArray());
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestSimulatedUnit::programLoadsAndDumpsMemory() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile memory(dir.filePath("memoria.tvo"));
    QVERIFY(memory.open(QIODevice::WriteOnly));
    memory.write("Testi\r\n003LOADED TEXT\r\nend\r\n");
    memory.close();
    const QString dump = dir.filePath("dump.txt");

    SimProgram program(
        {"--id", "X1", "--memory", memory.fileName(), "--dump", dump, "--baud", "9600"});
    const QString path = program.readLine();
    QVERIFY2(path.startsWith("/dev/pts/"), qPrintable(path));
    SlavePort port(path);
    const QByteArray written = "WRITTEN " + bytesFrom(0xa0, 8);
    QVERIFY(port.write(writeFrame(4, written, "X1")));
    QCOMPARE(port.take(7), QByteArray("X1 0WR\r"));
    QVERIFY(port.write(readFrame(3, "X1")));
    QCOMPARE(port.take(24), QByteArray("X1 0R16LOADED TEXT     \r"));

    QVERIFY(program.stop(SIGTERM));
    QCOMPARE(program.process().exitCode(), 0);

    QFile file(dump);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray contents = file.readAll();
    QCOMPARE(contents.size(), 512 * 21);
    QCOMPARE(contents.mid(0, 21), "000" + Blank + "\r\n");
    QCOMPARE(contents.mid(3 * 21, 21), QByteArray("003LOADED TEXT     \r\n"));
    QCOMPARE(contents.mid(4 * 21, 21), "004" + written + "\r\n");
    QCOMPARE(contents.mid(511 * 21, 21), "511" + Blank + "\r\n");
}

void TestSimulatedUnit::programRefusesBadArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("baud not a number") << QStringList{"--baud", "veloce"};
    QTest::newRow("negative delay") << QStringList{"--delay", "-5"};
    QTest::newRow("missing memory file") << QStringList{"--memory", "/non/esiste.tvo"};
    QTest::newRow("identifier outside Windows-1252") << QStringList{"--id", "&C\u4e00"};
    QTest::newRow("TCP port beyond 65535") << QStringList{"--tcp", "65536"};
    QTest::newRow("unknown option") << QStringList{"--turbo"};
    QTest::newRow("positional argument") << QStringList{"COM1"};
}

void TestSimulatedUnit::programRefusesBadArguments() {
    QFETCH(QStringList, arguments);

    SimProgram program(arguments);
    QVERIFY(program.process().waitForFinished(10'000));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QVERIFY(program.process().exitCode() != 0);
    QCOMPARE(program.process().readAllStandardOutput(), QByteArray());
    QVERIFY(!program.process().readAllStandardError().isEmpty());
}

void TestSimulatedUnit::programDocumentsItsOptions() {
    SimProgram program({"--help"});
    QVERIFY(program.process().waitForFinished(10'000));
    QCOMPARE(program.process().exitCode(), 0);
    const QByteArray help = program.process().readAllStandardOutput();
    for (const char* option :
         {"--id", "--baud", "--delay", "--silent-from", "--refuse-write", "--garble", "--short",
          "--memory", "--dump", "--adapter-latency", "--link"})
        QVERIFY2(help.contains(option), option);
}

QTEST_MAIN(TestSimulatedUnit)
#include "tst_simulatedunit.moc"

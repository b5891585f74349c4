#include "ScriptedPeer.h"
#include "SimulatedUnit.h"
#include "serial/LowLatency.h"
#include "serial/OpenFailure.h"
#include "serial/PortCatalog.h"
#include "serial/SerialControl.h"

#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t nobody = 65534;
constexpr gid_t nogroup = 65534;
constexpr gid_t daemonGroup = 1;

// Why the port would not open for this process.
QString openingFailure(const QString& device) {
    SerialControl control;
    control.setCommPort(device);
    control.setSettings(QStringLiteral("9600,N,8,1"));
    return control.setPortOpen(true) ? QString() : control.failure();
}

// Opens the port in a child process that runs as another user with no
// supplementary groups, and returns what the opening said.
QString openingFailureAs(uid_t uid, gid_t gid, const QString& device) {
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringLiteral("pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        QByteArray said = "no identity change";
        if (::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0)
            said = openingFailure(device).toUtf8();
        (void)!::write(channel[1], said.constData(), said.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray said;
    char buffer[1024];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return QString::fromUtf8(said);
}

// A child process that keeps the port open, as another program would, until
// the object goes: through QSerialPort (lock file, exclusive use) or, raw, with
// a bare open() and nothing else of this process's descriptors.
class HoldingProcess {
  public:
    explicit HoldingProcess(const QString& device, bool raw = false) {
        int ready[2];
        int release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(release[1]);
            if (raw) {
                for (int fd = 3; fd < 1024; ++fd)
                    if (fd != ready[1] && fd != release[0])
                        ::close(fd);
            }
            QSerialPort port(device);
            const bool opened =
                raw ? ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY) >= 0
                    : port.open(QIODevice::ReadWrite);
            (void)!::write(ready[1], opened ? "1" : "0", 1);
            char ignored;
            (void)!::read(release[0], &ignored, 1);
            port.close();
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char opened = '0';
        m_holding = ::read(ready[0], &opened, 1) == 1 && opened == '1';
        ::close(ready[0]);
    }
    ~HoldingProcess() {
        if (m_pid <= 0)
            return;
        ::close(m_release);
        ::waitpid(m_pid, nullptr, 0);
    }
    bool holding() const { return m_holding; }
    pid_t pid() const { return m_pid; }

  private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_holding = false;
};

} // namespace

class TestOpenFailure : public QObject {
    Q_OBJECT

  private slots:
    void noPermissionSaysWhyAndWhatToDo_data() {
        QTest::addColumn<gid_t>("portGroup");
        QTest::addColumn<int>("mode");
        QTest::addColumn<gid_t>("processGroup");
        QTest::addColumn<QString>("words");
        QTest::newRow("another owner, no group access")
            << gid_t(0) << 0600 << nogroup << QStringLiteral("è di root (permessi rw-------)");
        QTest::newRow("user outside the group")
            << ::getgrnam("dialout")->gr_gid << 0660 << nogroup
            << QStringLiteral("gruppo dialout, di cui l'utente nobody non fa parte; esegui "
                              "sudo usermod -aG dialout nobody, poi esci e rientra");
        // nobody belongs to nogroup by the user database, but this process
        // started without it, as a login from before the user was added.
        QTest::newRow("added after the login")
            << nogroup << 0660 << daemonGroup
            << QStringLiteral("l'utente nobody è stato aggiunto al gruppo nogroup dopo l'inizio "
                              "di questa sessione; esci e rientra (nuovo login)");
    }
    void noPermissionSaysWhyAndWhatToDo() {
        QFETCH(gid_t, portGroup);
        QFETCH(int, mode);
        QFETCH(gid_t, processGroup);
        QFETCH(QString, words);
        if (::geteuid() != 0)
            QSKIP("needs root to run the opening as another user");
        ScriptedPeer peer;
        const QString device = QString::fromLocal8Bit(peer.portText());
        QCOMPARE(::chown(peer.portText().constData(), 0, portGroup), 0);
        QCOMPARE(::chmod(peer.portText().constData(), mode_t(mode)), 0);
        const QString failure = openingFailureAs(nobody, processGroup, device);
        QVERIFY2(failure.contains(words), qPrintable(failure));
        QVERIFY2(
            failure.startsWith(QStringLiteral("Manca il permesso di usare la porta ") + device),
            qPrintable(failure));
    }

    void aPortHeldByAnotherProgramNamesIt() {
        ScriptedPeer peer;
        const QString device = QString::fromLocal8Bit(peer.portText());
        const HoldingProcess holder(device);
        QVERIFY(holder.holding());
        const QString failure = openingFailure(device);
        QVERIFY2(failure.contains(QStringLiteral("è occupata da ")), qPrintable(failure));
        QVERIFY2(failure.contains(QStringLiteral("(pid %1)").arg(holder.pid())),
                 qPrintable(failure));
        // This process holds the other end of the line: it is no competitor.
        QVERIFY2(!failure.contains(QStringLiteral("(pid %1)").arg(::getpid())),
                 qPrintable(failure));
    }

    void usualHoldersComeWithAdvice_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("advice");
        QTest::newRow("ModemManager")
            << QStringLiteral("ModemManager")
            << QStringLiteral("sudo systemctl disable --now ModemManager");
        QTest::newRow("brltty") << QStringLiteral("brltty")
                                << QStringLiteral("sudo apt remove brltty");
        QTest::newRow("another program")
            << QStringLiteral("minicom") << QStringLiteral("chiudilo e riprova");
    }
    void usualHoldersComeWithAdvice() {
        QFETCH(QString, name);
        QFETCH(QString, advice);
        const QString text = inUseMessage(QStringLiteral("/dev/ttyUSB0"), {{123, name}});
        QVERIFY2(text.contains(name + QStringLiteral(" (pid 123)")), qPrintable(text));
        QVERIFY2(text.contains(advice), qPrintable(text));
    }

    void runningSimulatedUnitsAreListed() {
        SimulatedUnit::Options options;
        options.publishLink = true;
        options.linkName = QStringLiteral("test-catalog-%1").arg(::getpid());
        SimulatedUnit unit(options);
        QString error;
        QVERIFY2(unit.start(&error), qPrintable(error));
        const auto listed = [&] {
            for (const PortEntry& entry : PortCatalog::present())
                if (entry.path == unit.linkPath() || entry.device == unit.devicePath())
                    return entry;
            return PortEntry{};
        };
        const PortEntry entry = listed();
        QCOMPARE(entry.path, unit.linkPath());
        QCOMPARE(entry.device, unit.devicePath());
        QVERIFY(entry.simulated);
        QVERIFY(PortCatalog::summary().contains(unit.linkPath()));

        // A link whose unit is gone (killed, its lock released) is not listed.
        const QString stale =
            PortCatalog::simulatedUnitFolder() + QStringLiteral("/test-stale-%1").arg(::getpid());
        QVERIFY(QFile::link(unit.devicePath(), stale));
        QFile lock(stale + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        for (const PortEntry& port : PortCatalog::present())
            QVERIFY(port.path != stale);
        QFile::remove(stale);
        lock.remove();

        unit.vanish();
        QVERIFY(listed().path.isEmpty());
    }

    // A pseudo-terminal has neither TIOCSSERIAL nor a latency timer; a port
    // with a timer in its sysfs folder gets 1 ms and its own value back.
    void latencyTimerIsLoweredAndRestored() {
        ScriptedPeer peer;
        const QString device = QString::fromLocal8Bit(peer.portText());
        QTemporaryDir sysfs;
        const QString folder = sysfs.filePath(QFileInfo(device).fileName() + "/device");
        QVERIFY(QDir().mkpath(folder));
        QFile timer(folder + "/latency_timer");
        QVERIFY(timer.open(QIODevice::WriteOnly));
        timer.write("16\n");
        timer.close();
        QSerialPort port(device);
        QVERIFY(port.open(QIODevice::ReadWrite));
        LowLatency lowLatency(sysfs.path());
        lowLatency.apply(int(port.handle()), device);
        QVERIFY(timer.open(QIODevice::ReadOnly));
        QCOMPARE(timer.readAll(), QByteArray("1"));
        timer.close();
        lowLatency.restore(int(port.handle()));
        QVERIFY(timer.open(QIODevice::ReadOnly));
        QCOMPARE(timer.readAll(), QByteArray("16"));
    }
};

QTEST_MAIN(TestOpenFailure)
#include "tst_openfailure.moc"

#include "AsUnprivilegedUser.h"
#include "ScriptedPeer.h"
#include "SimulatedUnit.h"
#include "core/SimulatedUnitFolder.h"
#include "core/Variabili.h"
#include "core/posix/ErrnoError.h"
#include "serial/LowLatency.h"
#include "serial/PortAdvice.h"
#include "serial/PortCatalog.h"
#include "serial/PortMessages.h"
#include "serial/SerialControl.h"
#include "serial/SerialExchange.h"

#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <algorithm>
#include <functional>

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
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
    return control.setPortOpen(true) ? QString() : control.failure().text;
}

// A child process running body(say): say(text) hands the text to the test,
// whose constructor returns with it, and keeps the child (and whatever it has
// open) alive until the object goes.
class Child {
  public:
    using Say = std::function<void(const QByteArray&)>;
    explicit Child(const std::function<void(const Say&)>& body) {
        int said[2];
        int release[2];
        if (::pipe(said) != 0 || ::pipe(release) != 0 || (m_pid = ::fork()) < 0)
            return;
        if (m_pid == 0) {
            ::close(release[1]);
            body([&](const QByteArray& text) {
                (void)!::write(said[1], text.constData(), text.size());
                ::close(said[1]);
                char ignored;
                (void)!::read(release[0], &ignored, 1);
            });
            ::_exit(0);
        }
        ::close(said[1]);
        ::close(release[0]);
        m_release = release[1];
        char buffer[1024];
        for (ssize_t n; (n = ::read(said[0], buffer, sizeof buffer)) > 0;)
            m_said.append(buffer, n);
        ::close(said[0]);
    }
    ~Child() {
        ::close(m_release);
        ::waitpid(m_pid, nullptr, 0);
    }
    QString said() const { return QString::fromUtf8(m_said); }
    pid_t pid() const { return m_pid; }

  private:
    pid_t m_pid = -1;
    int m_release = -1;
    QByteArray m_said;
};

// Another program that holds device through QSerialPort (its lock file and
// exclusive use) until the object goes; it says "open" once it does.
Child heldByAnotherProgram(const QString& device) {
    return Child([device](const Child::Say& say) {
        QSerialPort port(device);
        say(port.open(QIODevice::ReadWrite) ? "open" : "");
    });
}

// What the opening says to another user without supplementary groups.
QString openingFailureAs(uid_t uid, gid_t gid, const QString& device) {
    const std::optional<QByteArray> failure =
        runAsUser(uid, gid, [&] { return openingFailure(device).toUtf8(); });
    return failure ? QString::fromUtf8(*failure) : QStringLiteral("no identity change");
}

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

    // A folder on the way that nobody may enter and a line left in exclusive
    // use both make the opening fail for nobody; neither is "occupata da un
    // altro programma".
    void permissionOnTheWayAndExclusiveUseAreToldApart() {
        if (::geteuid() != 0)
            QSKIP("needs root to run the opening as another user");
        ScriptedPeer peer;
        const QString device = QString::fromLocal8Bit(peer.portText());
        QCOMPARE(::chmod(peer.portText().constData(), 0666), 0);
        QTemporaryDir closed;
        QCOMPARE(::chmod(QFile::encodeName(closed.path()).constData(), 0700), 0);
        const QString link = closed.filePath(QStringLiteral("porta"));
        QVERIFY(QFile::link(device, link));
        const QString throughFolder = openingFailureAs(nobody, nogroup, link);
        QVERIFY2(
            throughFolder.startsWith(QStringLiteral("Manca il permesso di arrivare alla porta ")),
            qPrintable(throughFolder));
        QVERIFY2(throughFolder.contains(QStringLiteral("la cartella %1 ").arg(closed.path())),
                 qPrintable(throughFolder));

        const Child exclusive([&](const Child::Say& say) {
            const int fd = ::open(peer.portText().constData(), O_RDWR | O_NOCTTY);
            say(fd >= 0 && ::ioctl(fd, TIOCEXCL) == 0 ? "exclusive" : "");
        });
        QCOMPARE(exclusive.said(), QStringLiteral("exclusive"));
        const QString leftExclusive = openingFailureAs(nobody, nogroup, device);
        QVERIFY2(leftExclusive.contains(QStringLiteral("riservata in uso esclusivo")),
                 qPrintable(leftExclusive));
        QVERIFY2(!leftExclusive.contains(QStringLiteral("permesso")), qPrintable(leftExclusive));
    }

    // Tests run under the C locale, where the system speaks English.
    void reasonsAreItalianInAnyLocale() {
        QCOMPARE(errnoError(ENOTTY).reason, QStringLiteral("non è una porta seriale"));
        QCOMPARE(SystemError::behind(qt_error_string(EAGAIN)).reason,
                 QStringLiteral("risorsa momentaneamente non disponibile, riprova"));
        QCOMPARE(portErrorReason(QSerialPort::OpenError, qt_error_string(EISDIR)),
                 QStringLiteral("è una cartella, non un file"));
        QCOMPARE(errnoError(EHOSTDOWN).reason,
                 QStringLiteral("errore di sistema n. %1 (Host is down)").arg(EHOSTDOWN));
        const QString notATty = openingFailure(QStringLiteral("/dev/null"));
        QVERIFY2(notATty.contains(QStringLiteral("non è una porta seriale")), qPrintable(notATty));
    }

    // A file given as the port is no serial port, for a user who may open it
    // and for one who may not: no advice on groups or permissions.
    void aFileIsNoSerialPortForAnyUser() {
        QTemporaryFile file;
        QVERIFY(file.open());
        const QString start =
            QStringLiteral("Impossibile aprire la porta %1: non è una porta seriale. ")
                .arg(file.fileName());
        const QString byThisUser = openingFailure(file.fileName());
        QVERIFY2(byThisUser.startsWith(start), qPrintable(byThisUser));
        const QString byNobody = openingFailureAs(nobody, nogroup, file.fileName());
        QVERIFY2(byNobody.startsWith(start), qPrintable(byNobody));
    }

    // What kind of failure an opening met, for callers that act on it.
    void openingFailuresHaveTheirKind() {
        const auto kindOf = [](const QString& device) {
            SerialControl control;
            control.setCommPort(device);
            control.setSettings(QStringLiteral("9600,N,8,1"));
            return control.setPortOpen(true) ? PortFailure::Kind::None : control.failure().kind;
        };
        QCOMPARE(kindOf(QStringLiteral("/dev/ttyNESSUNA")), PortFailure::Kind::Missing);
        QCOMPARE(kindOf(QStringLiteral("/dev/null")), PortFailure::Kind::NotASerialPort);
        ScriptedPeer peer;
        const QString device = QString::fromLocal8Bit(peer.portText());
        const Child holder = heldByAnotherProgram(device);
        QCOMPARE(holder.said(), QStringLiteral("open"));
        QCOMPARE(kindOf(device), PortFailure::Kind::InUse);
    }

    void aPortHeldByAnotherProgramNamesIt() {
        ScriptedPeer peer;
        const QString device = QString::fromLocal8Bit(peer.portText());
        const Child holder = heldByAnotherProgram(device);
        QCOMPARE(holder.said(), QStringLiteral("open"));
        const QString failure = openingFailure(device);
        QVERIFY2(failure.contains(QStringLiteral("è occupata da ")), qPrintable(failure));
        QVERIFY2(failure.contains(QStringLiteral("(pid %1)").arg(holder.pid())),
                 qPrintable(failure));
        // This process holds the other end of the line: it is no competitor.
        QVERIFY2(!failure.contains(QStringLiteral("(pid %1)").arg(::getpid())),
                 qPrintable(failure));

        // A program that takes no lock file is found by its descriptors; it
        // lets go of the line's far end that it inherited from this process.
        const Child raw([&](const Child::Say& say) {
            for (int fd = 3; fd < 1024; ++fd)
                if (QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd))
                        .endsWith("ptmx"))
                    ::close(fd);
            say(::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY) >= 0 ? "open"
                                                                                      : "");
        });
        QCOMPARE(raw.said(), QStringLiteral("open"));
        const QList<PortHolder> holders = portHolders(device);
        QVERIFY(std::any_of(holders.begin(), holders.end(),
                            [&](const PortHolder& holder) { return holder.pid == raw.pid(); }));
    }

    // A program of another user that names the port on its command line may
    // hold it, for a user who cannot see its descriptors; one who can sees
    // whether it does.
    void programsNamingThePortAreLikelyHolders() {
        ScriptedPeer peer;
        const QString device = QString::fromLocal8Bit(peer.portText());
        QProcess other;
        other.start(QStringLiteral("setpriv"),
                    {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                     QStringLiteral("--clear-groups"), QStringLiteral("sh"), QStringLiteral("-c"),
                     QStringLiteral("sleep 30; :"), QStringLiteral("sh"), device});
        QVERIFY(other.waitForStarted());
        // Once setpriv has made way for sh, and sh has its arguments.
        const auto procFile = [&other](const char* name) {
            QFile file(QStringLiteral("/proc/%1/%2").arg(other.processId()).arg(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_VERIFY(procFile("comm") == "sh\n" &&
                    procFile("cmdline").contains(QFile::encodeName(device)));
        // Another user's exchange that gets no reply names it beside.
        QCOMPARE(::chmod(peer.portText().constData(), 0666), 0);
        const std::optional<QByteArray> noteForDaemon = runAsUser(1, 1, [&] {
            Variabili v;
            SerialExchange exchange(v);
            v.PortaCom = peer.portText();
            v.Comando = "&C1TA\r";
            v.LunghezzaRisposta = 6;
            if (exchange.ApriSeriale())
                exchange.InviaAllaSeriale();
            return exchange.replyTakers().text.toUtf8();
        });
        QCOMPARE(noteForDaemon, QStringLiteral("la porta è forse aperta anche da sh (pid %1), di "
                                               "un altro utente, che la nomina nel suo comando e "
                                               "può prendersi le risposte")
                                    .arg(other.processId())
                                    .toUtf8());
        QCOMPARE(likelyHolders(device), QList<PortHolder>());
        other.kill();
        other.waitForFinished();
    }

    void usualHoldersComeWithAdvice() {
        const auto message = [](const QString& name) {
            return PortAdvice::whenInUse(QStringLiteral("/dev/ttyUSB0"), {{123, name}});
        };
        QVERIFY(message("ModemManager").contains("sudo systemctl disable --now ModemManager"));
        QVERIFY(message("brltty").contains("brltty (pid 123): brltty (display braille)"));
        QVERIFY(message("brltty").contains("sudo apt remove brltty"));
        QCOMPARE(message("minicom"),
                 QStringLiteral("La porta /dev/ttyUSB0 è occupata da minicom (pid 123): chiudilo e "
                                "riprova"));
    }

    void runningSimulatedUnitsAreListed() {
        SimulatedUnit::Options options;
        options.publishLink = true;
        options.linkName = QStringLiteral("test-catalog-%1").arg(::getpid());
        SimulatedUnit unit(options);
        QString error;
        QVERIFY2(unit.start(&error), qPrintable(error));
        const QString link = unit.linkPath();
        const auto listed = [&] {
            for (const PortEntry& entry : PortCatalog::present())
                if (entry.path == link)
                    return entry;
            return PortEntry{};
        };
        QCOMPARE(listed().device, unit.devicePath());
        QVERIFY(listed().simulated);
        QVERIFY(PortCatalog::summary().contains(link));

        // A link whose unit is gone (killed, its lock released) is not listed.
        const QString stale =
            simulatedUnitFolder() + QStringLiteral("/test-stale-%1").arg(::getpid());
        QVERIFY(QFile::link(unit.devicePath(), stale));
        QFile lock(stale + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        for (const PortEntry& port : PortCatalog::present())
            QVERIFY(port.path != stale);
        QFile::remove(stale);
        lock.remove();

        unit.vanish();
        QVERIFY(listed().device.isEmpty());
    }

    // A unit started without a runtime folder publishes under /tmp; a program
    // that has one still lists it.
    void unitsPublishedUnderTmpAreListed() {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        SimulatedUnit::Options options;
        options.publishLink = true;
        options.linkName = QStringLiteral("test-tmp-%1").arg(::getpid());
        SimulatedUnit unit(options);
        QString error;
        const bool started = unit.start(&error);
        QTemporaryDir ownRuntime;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(ownRuntime.path()));
        QVERIFY2(started, qPrintable(error));
        QVERIFY2(unit.linkPath().startsWith(QStringLiteral("/tmp/tarvo-sim-")),
                 qPrintable(unit.linkPath()));
        const QList<PortEntry> present = PortCatalog::present();
        if (runtime.isNull())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", runtime);
        QVERIFY(std::any_of(present.begin(), present.end(),
                            [&](const PortEntry& entry) { return entry.path == unit.linkPath(); }));
    }

    // A pseudo-terminal has neither TIOCSSERIAL nor a latency timer; a port
    // with a timer in its sysfs folder gets 1 ms and its own value back.
    void latencyTimerIsLoweredAndRestored() {
        ScriptedPeer peer;
        const QString device = QString::fromLocal8Bit(peer.portText());
        QTemporaryDir sysfs;
        QVERIFY(QDir().mkpath(sysfs.filePath(QFileInfo(device).fileName() + "/device")));
        QFile timer(sysfs.filePath(QFileInfo(device).fileName() + "/device/latency_timer"));
        const auto value = [&] {
            timer.open(QIODevice::ReadOnly);
            const QByteArray read = timer.readAll();
            timer.close();
            return read;
        };
        QVERIFY(timer.open(QIODevice::WriteOnly) && timer.write("16\n") == 3);
        timer.close();
        QSerialPort port(device);
        QVERIFY(port.open(QIODevice::ReadWrite));
        LowLatency lowLatency(sysfs.path());
        lowLatency.apply(int(port.handle()), device);
        QCOMPARE(value(), QByteArray("1"));
        lowLatency.restore(int(port.handle()));
        QCOMPARE(value(), QByteArray("16"));
    }
};

QTEST_MAIN(TestOpenFailure)
#include "tst_openfailure.moc"

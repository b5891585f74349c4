#include "core/Variabili.h"
#include "serial/NetworkLine.h"
#include "serial/SerialControl.h"
#include "serial/SerialExchange.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A serial device server whose replies a test scripts: each frame (ending in
// CR) gets the next reply, and the frame numbered `closeOnFrame` (from 1)
// gets the connection closed instead.
class ScriptedServer : public QObject {
  public:
    ScriptedServer() {
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            m_client = m_server.nextPendingConnection();
            connect(m_client, &QTcpSocket::readyRead, this, &ScriptedServer::read);
        });
    }
    QByteArray portText() const {
        return "tcp://127.0.0.1:" + QByteArray::number(m_server.serverPort());
    }
    QByteArrayList replies;
    int closeOnFrame = 0;
    QByteArrayList frames;

  private:
    void read() {
        m_pending += m_client->readAll();
        for (qsizetype end; (end = m_pending.indexOf('\r')) >= 0;) {
            frames += m_pending.left(end + 1);
            m_pending.remove(0, end + 1);
            if (frames.size() == closeOnFrame) {
                m_client->close();
                return;
            }
            if (!replies.isEmpty())
                m_client->write(replies.takeFirst());
        }
    }

    QTcpServer m_server;
    QTcpSocket* m_client = nullptr;
    QByteArray m_pending;
};

// A port on 127.0.0.1 that takes no connection: its backlog is full and
// nothing accepts, so a new connection gets no answer.
class FullBacklog {
  public:
    FullBacklog() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listener, 0);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        for (int& filler : m_fillers) {
            filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        }
    }
    ~FullBacklog() {
        for (int filler : m_fillers)
            ::close(filler);
        ::close(m_listener);
    }
    quint16 port() const { return m_port; }

  private:
    int m_listener = -1;
    int m_fillers[4] = {-1, -1, -1, -1};
    quint16 m_port = 0;
};

quint16 portWithoutServer() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

ExchangeReply exchange(Variabili& v, SerialExchange& host, const QByteArray& frame,
                       qint16 threshold) {
    v.Comando = frame;
    v.LunghezzaRisposta = threshold;
    return host.InviaAllaSeriale();
}

} // namespace

class TestNetworkLine : public QObject {
    Q_OBJECT

    const FullBacklog m_silentServer;

  private slots:
    // A server that cannot be had is named, with its address, when the port
    // opens: no frame goes anywhere and the trace says why.
    void aServerThatCannotBeHadIsNamedBeforeAnyFrame_data() {
        QTest::addColumn<QByteArray>("port");
        QTest::addColumn<QString>("words");
        const QByteArray refused = "127.0.0.1:" + QByteArray::number(portWithoutServer());
        QTest::newRow("refused")
            << refused
            << QStringLiteral(
                   "Impossibile collegarsi al server tcp://%1: il server rifiuta la connessione")
                   .arg(QString::fromLatin1(refused));
        const QByteArray noAnswer = "tcp://127.0.0.1:" + QByteArray::number(m_silentServer.port());
        QTest::newRow("no answer")
            << noAnswer
            << QStringLiteral(
                   "Impossibile collegarsi al server %1: il server non risponde entro 5 s")
                   .arg(QString::fromLatin1(noAnswer));
    }
    void aServerThatCannotBeHadIsNamedBeforeAnyFrame() {
        QFETCH(QByteArray, port);
        QFETCH(QString, words);
        Variabili v;
        SerialExchange host(v);
        v.PortaCom = port;
        host.trace().beginOperation(QStringLiteral("Test Funzionamento"));
        QVERIFY(!host.ApriSeriale());
        QVERIFY2(host.lastFailure().text.startsWith(words), qPrintable(host.lastFailure().text));
        QCOMPARE(host.trace().at(host.trace().size() - 1).mark, LineTrace::Mark::PortFailure);
        QCOMPARE(exchange(v, host, "&C1TA\r", 6).status, ExchangeReply::Status::NotSent);
    }

    // The frames go through the socket without Nagle's delay, and the trace
    // names the line; a server that closes the connection mid-run ends the
    // exchange at once, named with its address, and nothing more is sent.
    void aServerThatDropsTheConnectionEndsTheRun() {
        ScriptedServer server;
        server.replies = {"&C1TA\r"};
        server.closeOnFrame = 2;
        Variabili v;
        SerialExchange host(v);
        v.PortaCom = server.portText();
        host.trace().beginOperation(QStringLiteral("Test Funzionamento"));
        QVERIFY2(host.ApriSeriale(), qPrintable(host.lastFailure().text));
        QCOMPARE(host.trace().at(0).line,
                 QStringLiteral("sulla linea di rete %1 (velocità, parità e latenza sono quelle "
                                "del server seriale)")
                     .arg(QString::fromLatin1(server.portText())));
        auto* socket = host.findChild<QTcpSocket*>();
        QVERIFY(socket);
        QCOMPARE(socket->socketOption(QAbstractSocket::LowDelayOption).toInt(), 1);

        QCOMPARE(exchange(v, host, "&C1TA\r", 6).status, ExchangeReply::Status::Answered);
        QCOMPARE(v.Risposta, QByteArray("&C1TA"));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(exchange(v, host, "&C1TA\r", 6).status, ExchangeReply::Status::PortLost);
        QVERIFY2(clock.elapsed() < 800, "the drop waited for the reply's deadline");
        QCOMPARE(host.lastFailure().text,
                 QStringLiteral("Collegamento con il server %1 interrotto: il server ha chiuso la "
                                "connessione")
                     .arg(QString::fromLatin1(server.portText())));
        QCOMPARE(exchange(v, host, "&C1TA\r", 6).status, ExchangeReply::Status::NotSent);
        QCOMPARE(server.frames.size(), 2);
        host.ChiudiSeriale();
    }
};

QTEST_MAIN(TestNetworkLine)
#include "tst_networkline.moc"

#pragma once

#include "serial/NetworkAddress.h"

#include <QObject>
#include <QTcpSocket>

#include <optional>

// Why a line through the network could not be opened or stopped working.
struct NetworkFailure {
    enum class Kind {
        Refused,     // the host answered that nothing listens on the port
        NotFound,    // the host's name gives no address
        Unreachable, // the network leads to no such host
        NoAnswer,    // no answer within the connection wait
        Dropped,     // the server closed a working connection
        Failed,      // any other failure of the socket
    };
    Kind kind = Kind::Failed;
    QString address; // tcp://HOST:PORT
};

// A connection to a serial device server: the socket that carries the unit's
// line, opened with a bounded wait and without Nagle's delay, so that each
// frame leaves at once as it would on a serial port.
class NetworkLine : public QObject {
    Q_OBJECT
  public:
    static constexpr int ConnectWaitMs = 5000;

    explicit NetworkLine(QObject* parent = nullptr);

    // Connects, running events meanwhile; the failure when it cannot.
    std::optional<NetworkFailure> open(const NetworkAddress& address);
    void close();
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

    QTcpSocket& socket() { return m_socket; }

  signals:
    // The connection failed once open; reported once.
    void failed(const NetworkFailure& failure);

  private:
    void socketError(QAbstractSocket::SocketError error);

    QTcpSocket m_socket{this};
    QString m_address;
    bool m_connected = false;
};

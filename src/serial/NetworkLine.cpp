#include "serial/NetworkLine.h"

#include "core/EventWait.h"

#include <utility>

namespace {

NetworkFailure::Kind kindOf(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return NetworkFailure::Kind::Refused;
    case QAbstractSocket::HostNotFoundError:
        return NetworkFailure::Kind::NotFound;
    case QAbstractSocket::NetworkError:
        return NetworkFailure::Kind::Unreachable;
    case QAbstractSocket::SocketTimeoutError:
        return NetworkFailure::Kind::NoAnswer;
    case QAbstractSocket::RemoteHostClosedError:
        return NetworkFailure::Kind::Dropped;
    default:
        return NetworkFailure::Kind::Failed;
    }
}

} // namespace

NetworkLine::NetworkLine(QObject* parent) : QObject(parent) {
    connect(&m_socket, &QAbstractSocket::errorOccurred, this, &NetworkLine::socketError);
}

std::optional<NetworkFailure> NetworkLine::open(const NetworkAddress& address) {
    close();
    m_address = address.url();
    m_socket.connectToHost(address.host, address.port);
    const bool settled = EventWait::until(
        [this] {
            return m_socket.state() == QAbstractSocket::ConnectedState ||
                   m_socket.state() == QAbstractSocket::UnconnectedState;
        },
        QDeadlineTimer(ConnectWaitMs));
    if (!settled) {
        m_socket.abort();
        return NetworkFailure{NetworkFailure::Kind::NoAnswer, m_address};
    }
    if (!isConnected())
        return NetworkFailure{kindOf(m_socket.error()), m_address};
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_connected = true;
    return std::nullopt;
}

void NetworkLine::close() {
    m_connected = false;
    m_socket.abort();
}

void NetworkLine::socketError(QAbstractSocket::SocketError error) {
    // Failures while connecting are the opening's to tell; a wait that
    // timed out is no failure of the connection.
    if (error == QAbstractSocket::SocketTimeoutError || !std::exchange(m_connected, false))
        return;
    emit failed({kindOf(error), m_address});
}

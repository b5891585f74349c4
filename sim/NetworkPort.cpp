#include "NetworkPort.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QtDebug>

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

NetworkPort::NetworkPort(QString devicePath, QObject* parent)
    : QObject(parent), m_devicePath(std::move(devicePath)) {
    connect(&m_server, &QTcpServer::newConnection, this, &NetworkPort::takeClient);
}

NetworkPort::~NetworkPort() {
    releaseClient();
}

bool NetworkPort::listen(quint16 port, QString* error) {
    if (m_server.listen(QHostAddress::LocalHost, port)) {
        m_port = m_server.serverPort();
        return true;
    }
    *error = QStringLiteral("Impossibile ascoltare su 127.0.0.1:%1: %2")
                 .arg(port)
                 .arg(m_server.serverError() == QAbstractSocket::AddressInUseError
                          ? QStringLiteral("porta già in uso")
                          : m_server.errorString());
    return false;
}

QString NetworkPort::url() const {
    return QStringLiteral("tcp://127.0.0.1:%1").arg(port());
}

void NetworkPort::takeClient() {
    while (QTcpSocket* client = m_server.nextPendingConnection()) {
        // Came in before the port stopped listening.
        if (m_client) {
            client->abort();
            client->deleteLater();
            continue;
        }
        // The unit's line in exclusive use while the client has it, as a
        // program holding the port would.
        FileDescriptor device(::open(QFile::encodeName(m_devicePath).constData(),
                                     O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
        if (!device.isOpen() || ::ioctl(device.get(), TIOCEXCL) != 0) {
            client->abort();
            client->deleteLater();
            continue;
        }
        // Replies queued while nobody listened are no one's.
        ::tcflush(device.get(), TCIOFLUSH);
        m_device = std::move(device);
        m_client = client;
        client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(client, &QTcpSocket::readyRead, this, &NetworkPort::fromClient);
        connect(client, &QTcpSocket::disconnected, this, &NetworkPort::dropClient);
        m_readable = new QSocketNotifier(m_device.get(), QSocketNotifier::Read, this);
        connect(m_readable, &QSocketNotifier::activated, this, &NetworkPort::fromUnit);
        m_writable = new QSocketNotifier(m_device.get(), QSocketNotifier::Write, this);
        m_writable->setEnabled(false);
        connect(m_writable, &QSocketNotifier::activated, this, &NetworkPort::writeToUnit);
        m_server.close();
    }
}

void NetworkPort::dropClient() {
    releaseClient();
    if (!m_server.isListening() && !m_server.listen(QHostAddress::LocalHost, m_port))
        qWarning("tarvo-sim: non ascolta più su 127.0.0.1:%d: %s", m_port,
                 qPrintable(m_server.errorString()));
}

void NetworkPort::releaseClient() {
    for (QSocketNotifier* notifier : {m_readable, m_writable}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    m_readable = m_writable = nullptr;
    m_toUnit.clear();
    m_device.reset();
    if (m_client) {
        m_client->disconnect(this);
        m_client->abort();
        m_client->deleteLater();
        m_client = nullptr;
    }
}

void NetworkPort::fromClient() {
    m_toUnit += m_client->readAll();
    writeToUnit();
}

void NetworkPort::writeToUnit() {
    while (!m_toUnit.isEmpty()) {
        const ssize_t count = ::write(m_device.get(), m_toUnit.constData(), m_toUnit.size());
        if (count > 0)
            m_toUnit.remove(0, count);
        else if (count < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    m_writable->setEnabled(!m_toUnit.isEmpty());
}

void NetworkPort::fromUnit() {
    char buffer[4096];
    const ssize_t count = ::read(m_device.get(), buffer, sizeof buffer);
    if (count > 0) {
        m_client->write(buffer, count);
        m_client->flush();
    } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
        dropClient();
    }
}

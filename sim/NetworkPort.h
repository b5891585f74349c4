#pragma once

#include "FileDescriptor.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

class QSocketNotifier;

// The simulated unit's line offered on 127.0.0.1 as a raw TCP port, as a
// serial device server (ser2net) offers a real unit's: the bytes of the one
// client connected go to the unit's pseudo-terminal and what the unit sends
// comes back, unchanged, without Nagle's delay. While a client is connected
// the port stops listening, so that a second client is refused at once, and
// the unit's pseudo-terminal is held in exclusive use.
class NetworkPort : public QObject {
    Q_OBJECT
  public:
    explicit NetworkPort(QString devicePath, QObject* parent = nullptr);
    ~NetworkPort() override;

    // Listens on 127.0.0.1:port (0: a free port). False with the reason.
    bool listen(quint16 port, QString* error);
    quint16 port() const { return m_port; }
    // "tcp://127.0.0.1:PORT"
    QString url() const;
    bool hasClient() const { return m_client != nullptr; }

  private:
    void takeClient();
    // Lets the client go and listens again.
    void dropClient();
    void releaseClient();
    void fromClient();
    void fromUnit();
    void writeToUnit();

    QString m_devicePath;
    QTcpServer m_server;
    quint16 m_port = 0;
    QPointer<QTcpSocket> m_client;
    FileDescriptor m_device;
    QSocketNotifier* m_readable = nullptr;
    QSocketNotifier* m_writable = nullptr;
    QByteArray m_toUnit;
};

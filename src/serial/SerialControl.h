#pragma once

#include "serial/LowLatency.h"
#include "serial/NetworkLine.h"
#include "serial/PortFailure.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

// The serial control the program drives: port selection, line settings,
// open/close, write, read-all and a receive notification once a threshold of
// bytes is waiting, over QSerialPort.
//
// The notification only reports; it never waits. A port that fails while it is
// open (adapter unplugged, the other end of a pseudo-terminal gone) is closed at
// once and reported once through failed(). A read that would block while the
// device is still there (another program took the bytes announced) is no
// failure: nothing came, and the port goes on listening.
//
// A port named tcp://HOST:PORT is a line through the network (a serial device
// server): the same frames go through its socket, and the line settings are
// the server's to apply.
class SerialControl : public QObject {
    Q_OBJECT
  public:
    static constexpr qint16 comEvReceive = 2;
    static constexpr qint16 comEventDCB = 1011; // any other port error

    explicit SerialControl(QObject* parent = nullptr);

    void setCommPort(const QString& device);
    QString CommPort() const { return m_device; }

    // "baud,parity,data,stop", for instance "9600,N,8,1". False when malformed.
    bool setSettings(const QString& settings);
    QString Settings() const { return m_settings; }

    // Opening returns false when the port cannot be opened; failure() says why.
    bool setPortOpen(bool open);
    bool PortOpen() const;
    // The open port, or the one last opened, is a line through the network.
    bool isNetworkLine() const { return m_network; }

    void Output(const QByteArray& data);
    QByteArray Input();
    // What Input() would return, left waiting.
    QByteArray waitingInput();
    // Throws away everything received and not yet read, also what the system
    // still holds for the port.
    void discardInput();

    // Setting 0 while a reply was awaited gives that reply up: its late bytes
    // are then discarded however far they got. The system is asked to wake
    // the program once the threshold is reached rather than at every byte:
    // at 9600 baud a read reply would otherwise wake it 24 times.
    void setRThreshold(qint16 threshold);
    qint16 RThreshold() const { return m_threshold; }

    qint16 CommEvent() const { return m_commEvent; }

    // Why the port could not be opened, or why it stopped working; of kind
    // None when nothing went wrong since the last opening.
    const PortFailure& failure() const { return m_failure; }

    // Bytes announced as received were gone when read, since the last
    // opening: another program reads the same device.
    bool inputTakenElsewhere() const { return m_inputTakenElsewhere; }

    // Delivers a notification with the given event code.
    void raiseEvent(qint16 code);

  signals:
    void OnComm();
    void failed(const QString& reason);

  private:
    void checkThreshold();
    void handleError(QSerialPort::SerialPortError error);
    // A read or write that would block on a device still there: nothing to
    // do now. Qt stops listening after such a read; listening resumes here.
    bool wouldBlockOnly(const QString& systemText);
    void closePort();
    void wakeWhenQueued(qint64 bytes);
    bool openNetworkLine(const NetworkAddress& address);
    void lineFailed(const PortFailure& failure);
    // The device the exchange goes through: the serial port or the socket.
    QIODevice& line();

    QSerialPort m_port;
    NetworkLine m_networkLine{this};
    LowLatency m_lowLatency;
    QString m_device;
    QString m_openedPath;
    QString m_settings;
    PortFailure m_failure;
    qint32 m_baud = 9600;
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::DataBits m_dataBits = QSerialPort::Data8;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;
    qint16 m_threshold = 0;
    qint16 m_commEvent = 0;
    bool m_network = false;
    bool m_opening = false;
    bool m_broken = false;
    bool m_replyGivenUp = false;
    bool m_inputTakenElsewhere = false;
};

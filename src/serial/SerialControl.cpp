#include "serial/SerialControl.h"

#include "core/SystemReason.h"
#include "serial/DeviceNode.h"
#include "serial/PortMessages.h"
#include "serial/PortQueue.h"

#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <utility>

SerialControl::SerialControl(QObject* parent) : QObject(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &SerialControl::checkThreshold);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialControl::handleError);
}

void SerialControl::setCommPort(const QString& device) {
    if (!PortOpen())
        m_device = device;
}

bool SerialControl::setSettings(const QString& settings) {
    const QStringList parts = settings.split(',');
    if (parts.size() != 4)
        return false;
    bool baudOk = false;
    const qint32 baud = parts[0].trimmed().toInt(&baudOk);
    const QString parity = parts[1].trimmed().toUpper();
    const QString data = parts[2].trimmed();
    const QString stop = parts[3].trimmed();
    if (!baudOk || baud <= 0)
        return false;
    QSerialPort::Parity p;
    if (parity == "N")
        p = QSerialPort::NoParity;
    else if (parity == "E")
        p = QSerialPort::EvenParity;
    else if (parity == "O")
        p = QSerialPort::OddParity;
    else if (parity == "M")
        p = QSerialPort::MarkParity;
    else if (parity == "S")
        p = QSerialPort::SpaceParity;
    else
        return false;
    QSerialPort::DataBits d;
    if (data == "5")
        d = QSerialPort::Data5;
    else if (data == "6")
        d = QSerialPort::Data6;
    else if (data == "7")
        d = QSerialPort::Data7;
    else if (data == "8")
        d = QSerialPort::Data8;
    else
        return false;
    QSerialPort::StopBits s;
    if (stop == "1")
        s = QSerialPort::OneStop;
    else if (stop == "1.5")
        s = QSerialPort::OneAndHalfStop;
    else if (stop == "2")
        s = QSerialPort::TwoStop;
    else
        return false;
    m_baud = baud;
    m_parity = p;
    m_dataBits = d;
    m_stopBits = s;
    m_settings = settings;
    return true;
}

bool SerialControl::setPortOpen(bool open) {
    if (!open) {
        closePort();
        m_broken = false;
        return true;
    }
    if (m_port.isOpen() && !m_broken)
        return true;
    closePort();
    m_broken = false;
    m_inputTakenElsewhere = false;
    m_failure.clear();
    // A file or a folder is refused before it is opened, whoever may open it.
    if (DeviceNode::namesSomethingElse(m_device)) {
        m_failure = notASerialPort(m_device);
        return false;
    }
    // Opened by its real name, so that the lock file is the one every other
    // program takes for this device, whichever link the operator chose.
    const QString real = QFileInfo(m_device).canonicalFilePath();
    m_openedPath = real.isEmpty() ? m_device : real;
    m_port.setPortName(m_openedPath);
    m_opening = true;
    const bool opened = m_port.open(QIODevice::ReadWrite);
    m_opening = false;
    if (!opened) {
        m_failure = explainOpenFailure(m_device, m_port.error(), m_port.errorString());
        return false;
    }
    const bool configured = m_port.setBaudRate(m_baud) && m_port.setParity(m_parity) &&
                            m_port.setDataBits(m_dataBits) && m_port.setStopBits(m_stopBits) &&
                            m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_failure = settingsRefused(m_device, m_settings,
                                    portErrorReason(m_port.error(), m_port.errorString()));
        m_port.close();
        return false;
    }
    m_lowLatency.apply(m_port.handle(), m_device);
    // The opening left VMIN at 0, which another reader of the line would
    // take for the end of its input.
    wakeWhenQueued(m_threshold);
    // Whatever the line carried before the opening is not a reply.
    m_replyGivenUp = true;
    return true;
}

void SerialControl::closePort() {
    if (!m_port.isOpen())
        return;
    m_lowLatency.restore(m_port.handle());
    m_port.close();
}

void SerialControl::Output(const QByteArray& data) {
    if (!PortOpen())
        return;
    m_port.write(data);
    // Hand the bytes to the system now, so the reply time counts from here.
    m_port.flush();
}

// Reads exactly what waits: readAll() would set aside 16 kB on every call, a
// heap that grows and shrinks at every exchange.
QByteArray SerialControl::Input() {
    return PortOpen() ? m_port.read(m_port.bytesAvailable()) : QByteArray();
}

QByteArray SerialControl::waitingInput() {
    if (!PortOpen())
        return {};
    // Bytes short of the threshold may still be in the system's queue.
    m_port.waitForReadyRead(0);
    m_port.clearError();
    return m_port.peek(m_port.bytesAvailable());
}

void SerialControl::discardInput() {
    if (!PortOpen())
        return;
    m_port.skip(m_port.bytesAvailable());
    // Flushing the system's queue also drops bytes still on their way in, but
    // wakes a kernel worker, a tenth of a millisecond before every frame.
    // After a reply that came whole it is done only when bytes are queued.
    if (std::exchange(m_replyGivenUp, false) || PortQueue::mayHoldInput(m_port.handle()))
        m_port.clear(QSerialPort::Input);
}

void SerialControl::setRThreshold(qint16 threshold) {
    if (threshold == 0 && m_threshold > 0)
        m_replyGivenUp = true;
    m_threshold = threshold;
    wakeWhenQueued(threshold - m_port.bytesAvailable());
    // Bytes may already be waiting: the notification then follows at the next
    // round of events, never from inside this call.
    if (m_threshold > 0 && PortOpen() && m_port.bytesAvailable() >= m_threshold)
        QMetaObject::invokeMethod(this, &SerialControl::checkThreshold, Qt::QueuedConnection);
}

void SerialControl::wakeWhenQueued(qint64 bytes) {
    if (!PortOpen())
        return;
    PortQueue::readyAfter(m_port.handle(), bytes);
}

void SerialControl::raiseEvent(qint16 code) {
    m_commEvent = code;
    emit OnComm();
}

void SerialControl::checkThreshold() {
    if (m_threshold > 0 && PortOpen() && m_port.bytesAvailable() >= m_threshold)
        raiseEvent(comEvReceive);
}

void SerialControl::handleError(QSerialPort::SerialPortError error) {
    if (m_opening || !PortOpen())
        return;
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:
        return;
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError: {
        const QString systemText = m_port.errorString();
        if (wouldBlockOnly(systemText))
            return;
        // A vanished device keeps reporting errors while the port stays open:
        // close at once and report the first one only. Unplugging is guessed
        // only when the device has gone or failed as a vanishing one does.
        const int code = errnoBehind(systemText);
        const bool unplugged = code == EIO || code == ENODEV || code == ENXIO ||
                               !DeviceNode::stillLeadsTo(m_openedPath, m_port.handle());
        m_failure = connectionLost(m_device, portErrorReason(error, systemText), unplugged);
        m_broken = true;
        // The port is closed from the event loop, not from inside the
        // notification that QSerialPort is still delivering.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_broken)
                    closePort();
            },
            Qt::QueuedConnection);
        emit failed(m_failure);
        return;
    }
    default:
        raiseEvent(comEventDCB);
        return;
    }
}

bool SerialControl::wouldBlockOnly(const QString& systemText) {
    if (errnoBehind(systemText) != EAGAIN ||
        !DeviceNode::stillLeadsTo(m_openedPath, m_port.handle()))
        return false;
    // A frame is handed over whole before its reply is awaited: with nothing
    // left to write, it was a read whose bytes another reader took.
    if (m_port.bytesToWrite() == 0)
        m_inputTakenElsewhere = true;
    m_port.clearError();
    // Setting the read buffer's size makes QSerialPort listen for input again.
    m_port.setReadBufferSize(m_port.readBufferSize());
    return true;
}

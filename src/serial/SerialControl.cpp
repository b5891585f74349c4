#include "serial/SerialControl.h"

#include "core/SystemError.h"
#include "serial/DeviceNode.h"
#include "serial/PortMessages.h"
#include "serial/PortQueue.h"

#include <QFileInfo>
#include <QStringList>

#include <utility>

SerialControl::SerialControl(QObject* parent) : QObject(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &SerialControl::checkThreshold);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialControl::handleError);
    connect(&m_networkLine.socket(), &QIODevice::readyRead, this, &SerialControl::checkThreshold);
    connect(&m_networkLine, &NetworkLine::failed, this, [this](const NetworkFailure& failure) {
        lineFailed({PortFailure::Kind::Lost, networkFailureText(failure, true)});
    });
}

bool SerialControl::PortOpen() const {
    return !m_broken && (m_network ? m_networkLine.isConnected() : m_port.isOpen());
}

QIODevice& SerialControl::line() {
    if (m_network)
        return m_networkLine.socket();
    return m_port;
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
    if (PortOpen())
        return true;
    closePort();
    m_broken = false;
    m_inputTakenElsewhere = false;
    m_failure = {};
    const std::optional<NetworkAddress> address = NetworkAddress::fromUrl(m_device);
    m_network = address.has_value();
    if (m_network)
        return openNetworkLine(*address);
    // A file or a folder is refused before it is opened, whoever may open it.
    if (DeviceNode::namesSomethingElse(m_device)) {
        m_failure = {PortFailure::Kind::NotASerialPort, notASerialPort(m_device)};
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
        m_failure = {PortFailure::Kind::Refused,
                     settingsRefused(m_device, m_settings,
                                     portErrorReason(m_port.error(), m_port.errorString()))};
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

bool SerialControl::openNetworkLine(const NetworkAddress& address) {
    if (const std::optional<NetworkFailure> failure = m_networkLine.open(address)) {
        const PortFailure::Kind kind = failure->kind == NetworkFailure::Kind::NotFound
                                           ? PortFailure::Kind::Missing
                                           : PortFailure::Kind::Refused;
        m_failure = {kind, networkFailureText(*failure, false)};
        return false;
    }
    m_replyGivenUp = true;
    return true;
}

void SerialControl::closePort() {
    m_networkLine.close();
    if (!m_port.isOpen())
        return;
    m_lowLatency.restore(m_port.handle());
    m_port.close();
}

void SerialControl::Output(const QByteArray& data) {
    if (!PortOpen())
        return;
    line().write(data);
    // Hand the bytes to the system now, so the reply time counts from here.
    if (m_network)
        m_networkLine.socket().flush();
    else
        m_port.flush();
}

// Reads exactly what waits: readAll() would set aside 16 kB on every call, a
// heap that grows and shrinks at every exchange.
QByteArray SerialControl::Input() {
    return PortOpen() ? line().read(line().bytesAvailable()) : QByteArray();
}

QByteArray SerialControl::waitingInput() {
    if (!PortOpen())
        return {};
    // Bytes short of the threshold may still be in the system's queue.
    line().waitForReadyRead(0);
    if (!m_network)
        m_port.clearError();
    return line().peek(line().bytesAvailable());
}

void SerialControl::discardInput() {
    if (!PortOpen())
        return;
    line().skip(line().bytesAvailable());
    if (m_network) {
        // What the system holds is taken in and dropped too.
        if (std::exchange(m_replyGivenUp, false) && line().waitForReadyRead(0))
            line().skip(line().bytesAvailable());
        return;
    }
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
    wakeWhenQueued(threshold - (PortOpen() ? line().bytesAvailable() : 0));
    // Bytes may already be waiting: the notification then follows at the next
    // round of events, never from inside this call.
    if (m_threshold > 0 && PortOpen() && line().bytesAvailable() >= m_threshold)
        QMetaObject::invokeMethod(this, &SerialControl::checkThreshold, Qt::QueuedConnection);
}

void SerialControl::wakeWhenQueued(qint64 bytes) {
    // A socket reports every segment: there is no queue to set.
    if (!PortOpen() || m_network)
        return;
    PortQueue::readyAfter(m_port.handle(), bytes);
}

void SerialControl::raiseEvent(qint16 code) {
    m_commEvent = code;
    emit OnComm();
}

void SerialControl::checkThreshold() {
    if (m_threshold > 0 && PortOpen() && line().bytesAvailable() >= m_threshold)
        raiseEvent(comEvReceive);
}

void SerialControl::handleError(QSerialPort::SerialPortError error) {
    if (m_opening || m_network || !PortOpen())
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
        const bool unplugged =
            SystemError::behind(systemText).kind == SystemError::Kind::DeviceFailed ||
            !DeviceNode::stillLeadsTo(m_openedPath, m_port.handle());
        lineFailed({PortFailure::Kind::Lost,
                    connectionLost(m_device, portErrorReason(error, systemText), unplugged)});
        return;
    }
    default:
        raiseEvent(comEventDCB);
        return;
    }
}

void SerialControl::lineFailed(const PortFailure& failure) {
    m_failure = failure;
    m_broken = true;
    // The port is closed from the event loop, not from inside the
    // notification that the port is still delivering.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_broken)
                closePort();
        },
        Qt::QueuedConnection);
    emit failed(m_failure.text);
}

bool SerialControl::wouldBlockOnly(const QString& systemText) {
    if (SystemError::behind(systemText).kind != SystemError::Kind::TryAgain ||
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

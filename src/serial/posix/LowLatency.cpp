#include "serial/LowLatency.h"

#include <QFile>
#include <QFileInfo>

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace {

bool writeFile(const QString& path, const QByteArray& value) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(value) == value.size();
}

} // namespace

void LowLatency::apply(PortHandle fd, const QString& device) {
    serial_struct serial{};
    if (fd >= 0 && ::ioctl(fd, TIOCGSERIAL, &serial) == 0 && !(serial.flags & ASYNC_LOW_LATENCY)) {
        serial.flags |= ASYNC_LOW_LATENCY;
        m_setLowLatencyFlag = ::ioctl(fd, TIOCSSERIAL, &serial) == 0;
    }
    const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    if (name.isEmpty())
        return;
    const QString timer = m_ttyClassFolder + '/' + name + QStringLiteral("/device/latency_timer");
    QFile file(timer);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray previous = file.readAll().trimmed();
    file.close();
    if (previous.toInt() > 1 && writeFile(timer, "1")) {
        m_latencyTimer = timer;
        m_previousLatency = previous;
    }
}

void LowLatency::restore(PortHandle fd) {
    if (m_setLowLatencyFlag && fd >= 0) {
        serial_struct serial{};
        if (::ioctl(fd, TIOCGSERIAL, &serial) == 0) {
            serial.flags &= ~ASYNC_LOW_LATENCY;
            ::ioctl(fd, TIOCSSERIAL, &serial);
        }
    }
    m_setLowLatencyFlag = false;
    if (!m_latencyTimer.isEmpty())
        writeFile(m_latencyTimer, m_previousLatency);
    m_latencyTimer.clear();
}

QString LowLatency::latencyNote() {
    return {};
}

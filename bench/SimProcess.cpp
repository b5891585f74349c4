#include "SimProcess.h"

SimProcess::SimProcess(const QStringList& arguments) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(TARVO_SIM_EXECUTABLE), arguments);
    if (!m_process.waitForStarted(5000))
        return;
    m_devicePath = nextLine();
    if (arguments.contains(QStringLiteral("--tcp")))
        m_networkUrl = nextLine();
}

QString SimProcess::nextLine() {
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
    }
    return QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

SimProcess::~SimProcess() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(5000);
}

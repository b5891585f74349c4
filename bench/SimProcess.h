#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// tarvo-sim in a process of its own, so that its work does not count in the
// figures of the program side.
class SimProcess {
  public:
    explicit SimProcess(const QStringList& arguments);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The device path printed on its first line; empty when it did not start.
    QString devicePath() const { return m_devicePath; }
    // The tcp:// address printed on its second line when started with --tcp.
    QString networkUrl() const { return m_networkUrl; }

  private:
    QString nextLine();

    QProcess m_process;
    QString m_devicePath;
    QString m_networkUrl;
};

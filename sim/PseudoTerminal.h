#pragma once

#include "FileDescriptor.h"

#include <QString>

// A pseudo-terminal whose slave side is the simulated unit's serial port.
// The master is non-blocking and the slave is raw (no echo, no CR/LF
// translation). The slave stays open here as well: without it, bytes written
// while no program has the port open would be lost and the master would read
// EIO over and over.
class PseudoTerminal {
  public:
    bool open(QString* error);
    void close();

    bool isOpen() const { return m_master.isOpen(); }
    int master() const { return m_master.get(); }
    QString slavePath() const { return m_slavePath; }

  private:
    FileDescriptor m_master;
    FileDescriptor m_slave;
    QString m_slavePath;
};

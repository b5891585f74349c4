#pragma once

#include <QList>
#include <QString>

// A program that has a port open.
struct PortHolder {
    qint64 pid = 0;
    QString name; // as the system names the process, e.g. "ModemManager"

    bool operator==(const PortHolder&) const = default;
};

// The programs that hold a serial device open, as far as this user may see:
// the serial lock files (LCK..name) name their owner, and /proc/<pid>/fd shows
// the processes whose descriptors this user may read. For a pseudo-terminal
// the process at its other end (the simulated unit) does not count, nor do
// this program and the processes that started it, anywhere.
QList<PortHolder> portHolders(const QString& device);

// Processes of other users, whose descriptors this user may not read, that
// name the device on their command line ("screen /dev/ttyUSB0 9600"): they
// may hold it.
QList<PortHolder> likelyHolders(const QString& device);

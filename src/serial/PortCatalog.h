#pragma once

#include <QList>
#include <QString>

// One port the operator can choose.
struct PortEntry {
    QString path;   // what goes into the port box: the stable name where there is one
    QString device; // the name it is opened by: /dev/ttyUSB0, COM3
    QString byId;   // its stable name (/dev/serial/by-id/...), if any
    QString description;
    QString manufacturer;
    QString serialNumber;
    bool simulated = false; // a running tarvo-sim

    // One line with everything known about the port: device, details, stable name.
    QString label() const;
};

// The serial ports present right now: those the system reports, with the
// description, maker and serial number of USB adapters and their stable name
// under /dev/serial/by-id, and the simulated units that tarvo-sim publishes.
class PortCatalog {
  public:
    // USB adapters first, then simulated units, then the other ports.
    static QList<PortEntry> present();
    // "Porte presenti: a, b" or "Nessuna porta seriale trovata".
    static QString summary();
};

#pragma once

#include <QByteArray>
#include <QString>

// Turns the text of the port box into a device name. A number N is COM port N
// (/dev/ttyS<N-1> on Linux, COM<N> on Windows); a text beginning with "/" is
// the path of a device (USB adapters, pseudo-terminals); tcp://HOST:PORT, or
// HOST:PORT where that cannot name a device, is a line through the network,
// whose device is its tcp:// address.
struct PortName {
    QString device;  // empty when the text names no port
    QString problem; // why the text names no port, for the operator

    static PortName fromText(const QByteArray& portText);
};

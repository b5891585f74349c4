#pragma once

#include <QString>

#include <optional>

// The address of a line given through the network: a serial device server (an
// Ethernet-to-serial converter, ser2net) that carries the unit's line as a raw
// TCP port.
struct NetworkAddress {
    QString host;
    quint16 port = 0;

    // "tcp://HOST:PORT" (the scheme in any case), HOST a name, an IPv4 address
    // or an IPv6 address in brackets, PORT 1-65535; nothing otherwise.
    static std::optional<NetworkAddress> fromUrl(const QString& text);
    // Also "HOST:PORT" without the scheme, where the text cannot name a
    // device: no path separator in it, a host of letters, digits, dots and
    // hyphens longer than a drive letter (or an IPv6 address in brackets),
    // and no file of that name in the working folder.
    static std::optional<NetworkAddress> fromPortText(const QString& text);

    // "tcp://HOST:PORT", the name that messages and the trace give the line.
    QString url() const;
};

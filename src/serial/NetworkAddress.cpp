#include "serial/NetworkAddress.h"

#include <QFileInfo>
#include <QHostAddress>
#include <QRegularExpression>

namespace {

const QString Scheme = QStringLiteral("tcp://");

std::optional<NetworkAddress> hostAndPort(const QString& text) {
    static const QRegularExpression form(QStringLiteral(
        R"(^(\[[0-9A-Fa-f:.]+\]|[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?):([0-9]{1,5})$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int port = match.captured(3).toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    QString host = match.captured(1);
    if (host.startsWith('[')) {
        host = host.mid(1, host.size() - 2);
        if (QHostAddress(host).protocol() != QAbstractSocket::IPv6Protocol)
            return std::nullopt;
    }
    return NetworkAddress{host, quint16(port)};
}

} // namespace

std::optional<NetworkAddress> NetworkAddress::fromUrl(const QString& text) {
    if (!text.startsWith(Scheme, Qt::CaseInsensitive))
        return std::nullopt;
    return hostAndPort(text.mid(Scheme.size()));
}

std::optional<NetworkAddress> NetworkAddress::fromPortText(const QString& text) {
    if (const std::optional<NetworkAddress> address = fromUrl(text))
        return address;
    if (text.contains('/') || text.contains('\\') || QFileInfo::exists(text))
        return std::nullopt;
    // "C:5" is a path on drive C on Windows.
    const std::optional<NetworkAddress> address = hostAndPort(text);
    if (address && address->host.size() == 1)
        return std::nullopt;
    return address;
}

QString NetworkAddress::url() const {
    const bool ipv6 = host.contains(':');
    return Scheme + (ipv6 ? '[' + host + ']' : host) + ':' + QString::number(port);
}

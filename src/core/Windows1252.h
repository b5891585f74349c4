#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The texts of files and frames are single bytes in Windows-1252; windows show
// and take them through these two conversions, which never change a byte.
namespace Windows1252 {

QString decode(const QByteArray& bytes);
// nullopt when the text holds a character that Windows-1252 cannot hold.
std::optional<QByteArray> encode(const QString& text);
// The first character of the text that Windows-1252 cannot hold, for messages.
QString firstUnencodable(const QString& text);

} // namespace Windows1252

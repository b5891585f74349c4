#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QString>

// A message file as the program writes one: a comment line, the body lines
// and "end", each ending in CR LF.
inline QByteArray fileOf(const QByteArrayList& bodyLines) {
    QByteArray content = "Prova tarvodisp\r\n";
    for (const QByteArray& line : bodyLines)
        content += line + "\r\n";
    return content + "end\r\n";
}

// A file's bytes; empty when it cannot be read.
inline QByteArray contentOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

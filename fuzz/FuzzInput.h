#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Shared by the fuzz targets: a scratch folder for the process, the input
// written to a file in it, and a check that stops the run on a broken rule.
namespace FuzzInput {

inline QString folder() {
    static const QTemporaryDir scratch;
    return scratch.path();
}

inline QString write(const QString& name, const QByteArray& content) {
    const QString path = folder() + '/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

inline QString write(const uint8_t* data, size_t size) {
    return write(QStringLiteral("input.tvo"),
                 QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
}

inline void check(bool condition, const char* rule) {
    if (!condition) {
        std::fprintf(stderr, "broken rule: %s\n", rule);
        std::abort();
    }
}

// A record or display line begins with an address 000-511.
inline int address(const QByteArray& line) {
    if (line.size() < 3)
        return -1;
    int value = 0;
    for (qsizetype i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return -1;
        value = value * 10 + (line[i] - '0');
    }
    return value;
}

} // namespace FuzzInput

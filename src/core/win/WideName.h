#pragma once

#include <QDir>
#include <QString>

#include <string>

// A path as Windows' wide calls take it: UTF-16 code units as the QString
// holds them (a name with a lone surrogate, which Windows allows, keeps it),
// backslashes as separators.
inline std::wstring wideName(const QString& path) {
    const QString native = QDir::toNativeSeparators(path);
    return std::wstring(reinterpret_cast<const wchar_t*>(native.utf16()), size_t(native.size()));
}

// A name Windows gave, unit for unit.
inline QString fromWideName(const wchar_t* name) {
    return QString(reinterpret_cast<const QChar*>(name), qsizetype(std::wcslen(name)));
}

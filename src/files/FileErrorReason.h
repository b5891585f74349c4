#pragma once

#include <QString>

// The reason why a file operation failed, in words a technician understands
// ("permesso negato", "disco pieno", ...). errnoCode is the system's error
// number taken right after the failure (0 when unknown); systemText is the
// description that Qt gave, used when the number says nothing more precise.
QString fileErrorReason(const QString& path, int errnoCode, const QString& systemText);

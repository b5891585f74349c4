#pragma once

#include "core/SystemError.h"

#include <QString>

// The reason why a file operation failed, in words a technician understands
// ("permesso negato", "disco pieno", ...). error is the system's, taken right
// after the failure (None when unknown); systemText is the description that
// Qt gave, used when the error says nothing more precise.
QString fileErrorReason(const QString& path, const SystemError& error, const QString& systemText);

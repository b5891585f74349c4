#pragma once

#include "core/SystemError.h"

#include <QString>

// The system's error when this process opens the device now for reading and
// writing; None when it opens (it is closed again at once).
SystemError openingError(const QString& device);

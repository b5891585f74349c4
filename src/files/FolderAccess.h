#pragma once

#include "core/SystemError.h"

#include <QString>

// Whether the lists may show folder: this user can read its entries and reach
// what they name. None when so, otherwise why not (Missing for a folder that
// is gone, Denied, ...).
SystemError folderEntryError(const QString& folder);

#pragma once

#include <QString>

// Whether the lists may show folder: this user can read its entries and reach
// what they name. 0 when so, otherwise the error number that says why (ENOENT
// for a folder that is gone, EACCES, ENOTDIR, ...).
int folderEntryError(const QString& folder);

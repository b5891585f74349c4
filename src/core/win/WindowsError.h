#pragma once

#include "core/SystemError.h"

#include <windows.h>

// Not in MinGW's headers: a file operation asked of a folder.
constexpr DWORD errorDirectoryNotSupported = 336;

// The error that a Windows error code stands for, worded for the operator;
// ERROR_SUCCESS is no error. A code the table does not know keeps Windows'
// own text after an Italian sentence.
SystemError windowsError(DWORD code);

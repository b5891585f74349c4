#pragma once

#include "core/SystemError.h"

// The error that an error number stands for, worded for the operator; 0 is
// no error. A number the table does not know keeps the system's text after an
// Italian sentence.
SystemError errnoError(int code);

#pragma once

#include <QString>

// The operator's words for the error numbers that only some systems have
// (EDQUOT on POSIX systems); empty for any other number.
QString systemOnlyReason(int errnoCode);

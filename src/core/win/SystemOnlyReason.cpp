#include "core/SystemOnlyReason.h"

// Windows' C library has no error number beyond those every system shares.
QString systemOnlyReason(int) {
    return {};
}

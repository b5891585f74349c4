#include "core/SystemOnlyReason.h"

#include <cerrno>

QString systemOnlyReason(int errnoCode) {
    switch (errnoCode) {
    case EDQUOT:
        return QStringLiteral("lo spazio disco concesso è esaurito");
    default:
        return {};
    }
}

#include "UnitOptions.h"

QString unitOptionsProblem(const UnitOptions& options) {
    if (options.identifier.contains('\r'))
        return QStringLiteral("L'identificativo non può contenere un ritorno a capo.");
    if (options.baud < 0)
        return QStringLiteral("La velocità in baud non può essere negativa.");
    if (options.replyDelayMs < 0)
        return QStringLiteral("Il ritardo della risposta non può essere negativo.");
    if (options.adapterLatencyMs < 0 || options.adapterLatencyMs > 255)
        return QStringLiteral("La latenza dell'adattatore va da 0 a 255 millisecondi.");
    if (options.silentFrom < 0)
        return QStringLiteral("Il numero della trama da cui tacere non può essere negativo.");
    if (options.refuseWriteFrom < 0)
        return QStringLiteral(
            "Il numero della scrittura da cui rifiutare non può essere negativo.");
    return {};
}

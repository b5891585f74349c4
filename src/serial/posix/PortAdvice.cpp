#include "serial/PortAdvice.h"

#include "serial/PortMessages.h"
#include "serial/posix/PortObstacles.h"

namespace {

QString permissionProblem(const QString& device, const PermissionFinding& finding) {
    switch (finding.kind) {
    case PermissionFinding::Kind::None:
        return {};
    case PermissionFinding::Kind::NoGroupGrants:
        return QStringLiteral("Manca il permesso di usare la porta %1: è di %2 (permessi %3) e "
                              "nessun gruppo vi dà accesso; usala come %2 o chiedi "
                              "all'amministratore di darla al gruppo dialout")
            .arg(device, finding.owner, finding.mode);
    case PermissionFinding::Kind::RefusedDespiteGroup:
        return QStringLiteral("Manca il permesso di usare la porta %1 anche se l'utente %2 è nel "
                              "gruppo %3: chiedi all'amministratore")
            .arg(device, finding.user, finding.group);
    case PermissionFinding::Kind::JoinedAfterLogin:
        return QStringLiteral("Manca il permesso di usare la porta %1: l'utente %2 è stato "
                              "aggiunto al gruppo %3 dopo l'inizio di questa sessione; esci e "
                              "rientra (nuovo login) e riprova")
            .arg(device, finding.user, finding.group);
    case PermissionFinding::Kind::NotInGroup:
        return QStringLiteral("Manca il permesso di usare la porta %1: l'accesso lo dà il gruppo "
                              "%2, di cui l'utente %3 non fa parte; esegui sudo usermod -aG %2 %3, "
                              "poi esci e rientra (nuovo login)")
            .arg(device, finding.group, finding.user);
    }
    return {};
}

QString folderBlocksTheWay(const QString& device, const QString& folder) {
    return QStringLiteral("Manca il permesso di arrivare alla porta %1: la cartella %2 non è "
                          "accessibile a questo utente; scegli il dispositivo per un'altra via "
                          "(es. /dev/ttyUSB0) o chiedi all'amministratore")
        .arg(device, folder);
}

} // namespace

namespace PortAdvice {

QString whenMissing() {
    QString text = QStringLiteral("controlla il numero o il cavo USB");
    // brltty takes some USB adapters away as soon as they are plugged in.
    if (processRunning(QStringLiteral("brltty")))
        text += QStringLiteral(" (se l'adattatore sparisce appena collegato è brltty: se non usi "
                               "un display braille, sudo apt remove brltty)");
    return text;
}

QString whenRefused(const QString& device) {
    if (const QString problem = permissionProblem(device, permissionFinding(device));
        !problem.isEmpty())
        return problem;
    const QString folder = blockingFolder(device);
    return folder.isEmpty() ? QString() : folderBlocksTheWay(device, folder);
}

// ModemManager and brltty, the usual takers of USB adapters, come with what
// to do about them.
QString whenInUse(const QString& device, const QList<PortHolder>& holders) {
    if (holders.isEmpty())
        return QStringLiteral("La porta %1 è occupata da un altro programma (che questo utente "
                              "non può vedere): chiudilo e riprova")
            .arg(device);
    QString advice = QStringLiteral("chiudilo e riprova");
    for (const PortHolder& holder : holders) {
        if (holder.name == QStringLiteral("ModemManager"))
            advice = QStringLiteral("ModemManager prova ogni porta appena collegata: aspetta "
                                    "qualche secondo e riprova; se capita sempre, sudo systemctl "
                                    "disable --now ModemManager");
        else if (holder.name == QStringLiteral("brltty"))
            advice = QStringLiteral("brltty (display braille) si prende gli adattatori USB: se non "
                                    "lo usi, sudo apt remove brltty e ricollega l'adattatore");
    }
    return QStringLiteral("La porta %1 è occupata da %2: %3")
        .arg(device, holderNames(holders), advice);
}

QString howToNameAPort() {
    return QStringLiteral("il percorso del dispositivo (es. /dev/ttyUSB0)");
}

} // namespace PortAdvice

#include "serial/PortMessages.h"

#include "core/SystemError.h"
#include "serial/LowLatency.h"
#include "serial/PortAdvice.h"
#include "serial/PortCatalog.h"
#include "serial/PortPermission.h"

#include <QStringList>

namespace {

QString notThere(const QString& device) {
    return QStringLiteral("La porta %1 non esiste: %2. %3")
        .arg(device, PortAdvice::whenMissing(), PortCatalog::summary());
}

} // namespace

QString holderNames(const QList<PortHolder>& holders) {
    QStringList names;
    for (const PortHolder& holder : holders)
        names += QStringLiteral("%1 (pid %2)")
                     .arg(holder.name.isEmpty() ? QStringLiteral("?") : holder.name)
                     .arg(holder.pid);
    return names.join(QStringLiteral(", "));
}

PortFailure explainOpenFailure(const QString& device, QSerialPort::SerialPortError error,
                               const QString& systemReason) {
    using Kind = PortFailure::Kind;
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return {Kind::Missing, notThere(device)};
    case QSerialPort::PermissionError: {
        // A missing permission, on the device or on a folder on the way to
        // it, and a port that another program holds (its lock file, or
        // exclusive use) all end here: "in use" is said only on evidence.
        if (const QString refused = PortAdvice::whenRefused(device); !refused.isEmpty())
            return {Kind::NoPermission, refused};
        const QList<PortHolder> holders = portHolders(device);
        if (!holders.isEmpty())
            return {Kind::InUse, PortAdvice::whenInUse(device, holders)};
        const SystemError opening = openingError(device);
        switch (opening.kind) {
        case SystemError::Kind::None: // only the lock file of a program this user cannot
                                      // see stood in the way
            return {Kind::InUse, PortAdvice::whenInUse(device, {})};
        case SystemError::Kind::Busy:
            return {Kind::InUse, exclusiveUseLeft(device)};
        default:
            return {Kind::Refused, QStringLiteral("Impossibile aprire la porta %1: %2. %3")
                                       .arg(device, opening.reason, PortCatalog::summary())};
        }
    }
    default:
        // A character device that is no terminal (/dev/null) opens, then
        // refuses the terminal's settings.
        return {SystemError::behind(systemReason).kind == SystemError::Kind::NotSerialPort
                    ? Kind::NotASerialPort
                    : Kind::Refused,
                QStringLiteral("Impossibile aprire la porta %1: %2. %3")
                    .arg(device, portErrorReason(error, systemReason), PortCatalog::summary())};
    }
}

QString portErrorReason(QSerialPort::SerialPortError error, const QString& systemText) {
    if (const SystemError behind = SystemError::behind(systemText); behind.failed())
        return behind.reason;
    switch (error) {
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("impostazione non supportata dal dispositivo");
    case QSerialPort::ResourceError:
        return QStringLiteral("il dispositivo non è più disponibile");
    case QSerialPort::ReadError:
        return QStringLiteral("errore di lettura");
    case QSerialPort::WriteError:
        return QStringLiteral("errore di scrittura");
    default:
        return SystemError::described(systemText).reason;
    }
}

QString exclusiveUseLeft(const QString& device) {
    return QStringLiteral("La porta %1 è riservata in uso esclusivo ma nessun programma visibile "
                          "la tiene aperta: un programma interrotto di colpo l'ha lasciata così, "
                          "oppure la usa un programma di un altro utente; scollega e ricollega "
                          "l'adattatore e riprova")
        .arg(device);
}

QString otherHoldersNote(const QList<PortHolder>& holders) {
    return QStringLiteral("la porta è aperta anche da %1, che %2 prendersi le risposte")
        .arg(holderNames(holders),
             holders.size() == 1 ? QStringLiteral("può") : QStringLiteral("possono"));
}

QString likelyHoldersNote(const QList<PortHolder>& holders) {
    return (holders.size() == 1
                ? QStringLiteral("la porta è forse aperta anche da %1, di un altro utente, che la "
                                 "nomina nel suo comando e può prendersi le risposte")
                : QStringLiteral("la porta è forse aperta anche da %1, di altri utenti, che la "
                                 "nominano nel loro comando e possono prendersi le risposte"))
        .arg(holderNames(holders));
}

QString unseenReaderNote() {
    return QStringLiteral("la porta è aperta anche da un altro programma, forse di un altro "
                          "utente (questo utente non può vederlo), che può prendersi le risposte");
}

QString notASerialPort(const QString& device) {
    return QStringLiteral("Impossibile aprire la porta %1: %2. %3")
        .arg(device, SystemError::notASerialPort().reason, PortCatalog::summary());
}

QString invalidPortText(const QString& text) {
    return QStringLiteral(
               "Porta COM \"%1\" non valida: scrivi il numero della porta (es. 1) o %2 "
               "o l'indirizzo di un server seriale in rete (es. tcp://192.168.1.50:4001)")
        .arg(text, PortAdvice::howToNameAPort());
}

QString portNumberOutOfRange(int number) {
    return QStringLiteral("Porta COM %1 non valida: il numero va da 1 a 256").arg(number);
}

QString settingsRefused(const QString& device, const QString& settings, const QString& reason) {
    return QStringLiteral("La porta %1 non accetta le impostazioni %2: %3")
        .arg(device, settings, reason);
}

QString connectionLost(const QString& device, const QString& reason, bool unplugged) {
    const QString text =
        QStringLiteral("Collegamento con la porta %1 interrotto (%2)").arg(device, reason);
    return unplugged ? text + QStringLiteral(": il dispositivo è stato scollegato?") : text;
}

QString lineHeading(const QString& device) {
    if (!NetworkAddress::fromUrl(device)) {
        const QString note = LowLatency::latencyNote();
        return note.isEmpty() ? QStringLiteral("su %1").arg(device)
                              : QStringLiteral("su %1 (%2)").arg(device, note);
    }
    return QStringLiteral("sulla linea di rete %1 (velocità, parità e latenza sono quelle del "
                          "server seriale)")
        .arg(device);
}

QString networkFailureText(const NetworkFailure& failure, bool wasOpen) {
    const QString& address = failure.address;
    QString reason;
    switch (failure.kind) {
    case NetworkFailure::Kind::Refused:
        reason = QStringLiteral("il server rifiuta la connessione: controlla l'indirizzo e la "
                                "porta TCP, e che il server non sia già collegato a un altro "
                                "programma");
        break;
    case NetworkFailure::Kind::NotFound:
        reason = QStringLiteral("il nome del server non corrisponde a nessun indirizzo: "
                                "controlla come è scritto");
        break;
    case NetworkFailure::Kind::Unreachable:
        reason = QStringLiteral("il server non è raggiungibile: controlla l'indirizzo, il cavo "
                                "di rete e che il server sia acceso");
        break;
    case NetworkFailure::Kind::NoAnswer:
        reason = QStringLiteral("il server non risponde entro %1 s: controlla l'indirizzo e che "
                                "il server sia acceso e raggiungibile in rete")
                     .arg(NetworkLine::ConnectWaitMs / 1000);
        break;
    case NetworkFailure::Kind::Dropped:
        reason = QStringLiteral("il server ha chiuso la connessione");
        break;
    case NetworkFailure::Kind::Failed:
        reason = QStringLiteral("errore di rete");
        break;
    }
    return wasOpen
               ? QStringLiteral("Collegamento con il server %1 interrotto: %2").arg(address, reason)
               : QStringLiteral("Impossibile collegarsi al server %1: %2").arg(address, reason);
}

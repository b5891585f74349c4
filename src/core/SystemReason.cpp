#include "core/SystemReason.h"

#include "core/SystemOnlyReason.h"

#include <cerrno>
#include <cstring>

QString systemReason(int errnoCode, const QString& systemText) {
    switch (errnoCode) {
    case ENOENT:
        return QStringLiteral("non esiste");
    case EACCES:
        return QStringLiteral("permesso negato");
    case EPERM:
        return QStringLiteral("operazione non permessa a questo utente");
    case EISDIR:
        return QStringLiteral("è una cartella, non un file");
    case ENOTDIR:
        return QStringLiteral("una parte del percorso non è una cartella");
    case ENOSPC:
        return QStringLiteral("il disco è pieno");
    case EROFS:
        return QStringLiteral("il disco è protetto in scrittura");
    case EBUSY:
        return QStringLiteral("il dispositivo è occupato");
    case ETXTBSY:
        return QStringLiteral("il file è in uso");
    case EAGAIN:
        return QStringLiteral("risorsa momentaneamente non disponibile, riprova");
    case EIO:
        return QStringLiteral("errore del disco o del dispositivo");
    case ENXIO:
        return QStringLiteral("il dispositivo non è collegato o non risponde");
    case ENODEV:
        return QStringLiteral("il dispositivo non esiste");
    case ENOTTY:
        return QStringLiteral("non è una porta seriale");
    case ELOOP:
        return QStringLiteral("troppi collegamenti simbolici nel percorso (forse un giro "
                              "chiuso)");
    case ENAMETOOLONG:
        return QStringLiteral("il nome è troppo lungo");
    case EFBIG:
        return QStringLiteral("il file supera la dimensione massima consentita");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    case EINVAL:
        return QStringLiteral("valore non valido");
    case EEXIST:
        return QStringLiteral("esiste già");
    case ENOMEM:
        return QStringLiteral("memoria insufficiente");
    case EINTR:
        return QStringLiteral("operazione interrotta");
    case ETIMEDOUT:
        return QStringLiteral("tempo scaduto");
    default:
        break;
    }
    if (const QString reason = systemOnlyReason(errnoCode); !reason.isEmpty())
        return reason;
    const QString text = systemText.isEmpty() && errnoCode > 0
                             ? QString::fromLocal8Bit(std::strerror(errnoCode))
                             : systemText;
    if (text.isEmpty())
        return QStringLiteral("errore sconosciuto");
    return errnoCode > 0 ? QStringLiteral("errore di sistema n. %1 (%2)").arg(errnoCode).arg(text)
                         : QStringLiteral("errore di sistema (%1)").arg(text);
}

int errnoBehind(const QString& systemText) {
    // Error numbers on Linux end below 134.
    for (int code = 1; code < 200; ++code)
        if (qt_error_string(code) == systemText)
            return code;
    return 0;
}

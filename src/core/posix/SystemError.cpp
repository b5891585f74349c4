#include "core/SystemError.h"

#include "core/posix/ErrnoError.h"

#include <cerrno>
#include <cstring>

namespace {

using Kind = SystemError::Kind;

SystemError other(const char* reason) {
    return {Kind::Other, QString::fromUtf8(reason)};
}

} // namespace

SystemError errnoError(int code) {
    switch (code) {
    case 0:
        return {};
    case ENOENT:
        return {Kind::Missing, QStringLiteral("non esiste")};
    case EACCES:
        return {Kind::Denied, QStringLiteral("permesso negato")};
    case EPERM:
        return {Kind::Denied, QStringLiteral("operazione non permessa a questo utente")};
    case EBUSY:
        return {Kind::Busy, QStringLiteral("il dispositivo è occupato")};
    case ETXTBSY:
        return {Kind::InUse, QStringLiteral("il file è in uso")};
    case EINVAL:
        return {Kind::Invalid, QStringLiteral("valore non valido")};
    case EAGAIN:
        return {Kind::TryAgain, QStringLiteral("risorsa momentaneamente non disponibile, riprova")};
    case EIO:
        return {Kind::DeviceFailed, QStringLiteral("errore del disco o del dispositivo")};
    case ENXIO:
        return {Kind::DeviceFailed,
                QStringLiteral("il dispositivo non è collegato o non risponde")};
    case ENODEV:
        return {Kind::DeviceFailed, QStringLiteral("il dispositivo non esiste")};
    case ENOTTY:
        return SystemError::notASerialPort();
    case EISDIR:
        return other("è una cartella, non un file");
    case ENOTDIR:
        return other("una parte del percorso non è una cartella");
    case ENOSPC:
        return other("il disco è pieno");
    case EDQUOT:
        return other("lo spazio disco concesso è esaurito");
    case EROFS:
        return other("il disco è protetto in scrittura");
    case ELOOP:
        return other("troppi collegamenti simbolici nel percorso (forse un giro chiuso)");
    case ENAMETOOLONG:
        return other("il nome è troppo lungo");
    case EFBIG:
        return other("il file supera la dimensione massima consentita");
    case EMFILE:
    case ENFILE:
        return other("troppi file aperti");
    case EEXIST:
        return other("esiste già");
    case ENOMEM:
        return other("memoria insufficiente");
    case EINTR:
        return other("operazione interrotta");
    case ETIMEDOUT:
        return other("tempo scaduto");
    default:
        return {Kind::Other, QStringLiteral("errore di sistema n. %1 (%2)")
                                 .arg(code)
                                 .arg(QString::fromLocal8Bit(std::strerror(code)))};
    }
}

SystemError SystemError::behind(const QString& systemText) {
    // Error numbers on Linux end below 134.
    for (int code = 1; code < 200; ++code)
        if (qt_error_string(code) == systemText)
            return errnoError(code);
    return {};
}

void clearLastSystemError() {
    errno = 0;
}

SystemError lastSystemError() {
    return errnoError(errno);
}

#include "LettoreRighe.h"

#include "MotivoErroreFile.h"

#include <QDir>

#include <algorithm>
#include <cerrno>

LettoreRighe::LettoreRighe(const QString& percorso, qsizetype dimensioneBlocco)
    : file_(percorso), dimensioneBlocco_(std::max<qsizetype>(dimensioneBlocco, 1)) {}

bool LettoreRighe::apri() {
    errno = 0;
    if (file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return true;
    const int codice = errno;
    errore_ = QStringLiteral("Impossibile aprire il file %1: %2")
                  .arg(QDir::toNativeSeparators(file_.fileName()),
                       MotivoErroreFile(file_.fileName(), codice, file_.errorString()));
    return false;
}

double LettoreRighe::fractionRead() const {
    if (!file_.isOpen())
        return 1.0;
    const qint64 size = file_.size();
    if (size <= 0)
        return 1.0;
    const qint64 handedOut = file_.pos() - (buffer_.size() - posizione_);
    return double(handedOut) / double(size);
}

void LettoreRighe::chiudi() {
    file_.close();
    buffer_.clear();
    posizione_ = 0;
}

bool LettoreRighe::riempi() {
    if (posizione_ < buffer_.size())
        return true;
    if (!file_.isOpen())
        return false;
    buffer_.resize(dimensioneBlocco_);
    posizione_ = 0;
    errno = 0;
    const qint64 letti = file_.read(buffer_.data(), dimensioneBlocco_);
    const int codice = errno;
    if (letti > 0) {
        buffer_.truncate(letti);
        return true;
    }
    buffer_.clear();
    if (letti < 0) {
        errore_ = QStringLiteral("Errore di lettura del file %1: %2")
                      .arg(QDir::toNativeSeparators(file_.fileName()),
                           MotivoErroreFile(file_.fileName(), codice, file_.errorString()));
        chiudi();
    }
    return false;
}

std::optional<LettoreRighe::Riga> LettoreRighe::leggi(qsizetype lunghezzaMassima) {
    if (!riempi())
        return std::nullopt;
    Riga riga;
    for (;;) {
        if (!riempi()) {
            if (!errore_.isEmpty())
                return std::nullopt;
            riga.ultima = true;
            return riga;
        }
        const char* inizio = buffer_.constData() + posizione_;
        const char* fine = buffer_.constData() + buffer_.size();
        const char* fineRiga =
            std::find_if(inizio, fine, [](char c) { return c == '\r' || c == '\n'; });
        const qsizetype spazio = lunghezzaMassima - riga.testo.size();
        riga.testo.append(inizio, std::min<qsizetype>(fineRiga - inizio, spazio));
        posizione_ += fineRiga - inizio;
        if (fineRiga != fine)
            break;
    }
    const char terminatore = buffer_.at(posizione_++);
    if (terminatore == '\r' && riempi() && buffer_.at(posizione_) == '\n')
        ++posizione_;
    if (!riempi()) {
        if (!errore_.isEmpty())
            return std::nullopt;
        riga.ultima = true;
    }
    return riga;
}

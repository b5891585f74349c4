#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Shared by the fuzz targets: a scratch folder for the process, the input
// written to a file in it, and a check that stops the run on a broken rule.
namespace FileDiProva {

inline QString cartella() {
    static const QTemporaryDir temporanea;
    return temporanea.path();
}

inline QString scrivi(const QString& nome, const QByteArray& contenuto) {
    const QString percorso = cartella() + '/' + nome;
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly) || file.write(contenuto) != contenuto.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(percorso));
        std::abort();
    }
    return percorso;
}

inline QString scrivi(const uint8_t* dati, size_t dimensione) {
    return scrivi(QStringLiteral("ingresso.tvo"),
                  QByteArray(reinterpret_cast<const char*>(dati), qsizetype(dimensione)));
}

inline void verifica(bool condizione, const char* regola) {
    if (!condizione) {
        std::fprintf(stderr, "broken rule: %s\n", regola);
        std::abort();
    }
}

// A record or display line begins with an address 000-511.
inline int indirizzo(const QByteArray& riga) {
    if (riga.size() < 3)
        return -1;
    int valore = 0;
    for (qsizetype i = 0; i < 3; ++i) {
        if (riga[i] < '0' || riga[i] > '9')
            return -1;
        valore = valore * 10 + (riga[i] - '0');
    }
    return valore;
}

} // namespace FileDiProva

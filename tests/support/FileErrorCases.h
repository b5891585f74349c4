#pragma once

#include "TempFiles.h"

#include <QDir>
#include <QTest>

// The files that cannot be read, as rows of a data-driven test: the path and
// the text the reader gives (columns path and expectedValue). An empty file is
// a failure only for the message files' readers, which ask for withEmptyFile.
inline void addFileErrorRows(TempFolder& folder, bool withEmptyFile) {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expectedValue");

    const auto cannotOpen = [](const QString& path, const char* reason) {
        return QStringLiteral("Impossibile aprire il file %1: %2")
            .arg(QDir::toNativeSeparators(path), QString::fromUtf8(reason));
    };
    const QString missing = folder.filePath(QStringLiteral("mancante.tvo"));
    QTest::newRow("file mancante")
        << missing << cannotOpen(missing, "il file o la cartella non esiste");
    QTest::newRow("cartella") << folder.path()
                              << cannotOpen(folder.path(), "è una cartella, non un file");
    const QString insideFile = folder.write("C\r\n") + "/x.tvo";
    // Windows reports a file on the way as a path not found.
    QTest::newRow("percorso dentro un file")
        << insideFile
        << cannotOpen(insideFile,
#ifdef Q_OS_WIN
                      "il file o la cartella non esiste"
#else
                      "una parte del percorso non è una cartella"
#endif
           );
    if (withEmptyFile) {
        const QString empty = folder.write(QByteArray());
        QTest::newRow("file vuoto")
            << empty << QStringLiteral("Il file %1 è vuoto").arg(QDir::toNativeSeparators(empty));
    }
#ifdef Q_OS_LINUX
    QTest::newRow("errore di lettura")
        << QStringLiteral("/proc/self/mem")
        << QStringLiteral(
               "Errore di lettura del file /proc/self/mem: errore del disco o del dispositivo");
#endif
}

#pragma once

#include <QString>

// The reason why a file operation failed, in words a technician understands
// ("permesso negato", "disco pieno", ...). codiceErrno is the system's error
// number taken right after the failure (0 when unknown); testoDiSistema is the
// description that Qt gave, used when the number says nothing more precise.
QString MotivoErroreFile(const QString& percorso, int codiceErrno, const QString& testoDiSistema);

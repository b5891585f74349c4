#include "device/UnitCopies.h"

#include "core/Windows1252.h"
#include "files/LocalFileName.h"

#include <QDir>
#include <QStandardPaths>

namespace {

// The window's program name, also for tarvo-cli, so that both find the same
// copies.
const QString ProgramFolder = QStringLiteral("Tarvodisp programmazione scritte");

// The identifier as a file name can hold it.
QString identifierPart(const QByteArray& identifier) {
    QString name = Windows1252::decode(identifier);
    for (QChar& character : name)
        if (!character.isLetterOrNumber() && character != QLatin1Char('&') &&
            character != QLatin1Char('-'))
            character = QLatin1Char('_');
    return name;
}

} // namespace

namespace UnitCopies {

QString folder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QLatin1Char('/') + ProgramFolder + QStringLiteral("/copie");
}

NewCopy newCopy(const QByteArray& identifier, const QDateTime& when) {
    const QDir copies(folder());
    if (!copies.mkpath(QStringLiteral(".")))
        return {{},
                QStringLiteral("Non si può creare la cartella delle copie %1")
                    .arg(QDir::toNativeSeparators(copies.path()))};
    const QString stem =
        when.toString(QStringLiteral("yyyyMMdd-HHmmss-")) + identifierPart(identifier);
    QString path = copies.filePath(stem + QStringLiteral(".tvo"));
    for (int taken = 2; LocalFileName::status(path).exists; ++taken)
        path = copies.filePath(QStringLiteral("%1-%2.tvo").arg(stem).arg(taken));
    return {QDir::toNativeSeparators(path), {}};
}

} // namespace UnitCopies

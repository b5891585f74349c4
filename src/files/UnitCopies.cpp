#include "files/UnitCopies.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "files/LineReader.h"
#include "files/LocalFileName.h"
#include "files/WholeFileWriter.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QByteArray CommentStart = "Copia dell'unit\xe0 ";
const QByteArray PortWords = " dalla porta ";

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

const QString StampFormat = QStringLiteral("yyyyMMdd-HHmmss");

// A copy with what orders it: the name's date and time as written
// ("yyyyMMdd-HHmmss" sorts as time does), then the "-2", "-3"… of a second
// copy in the same second.
struct ListedCopy {
    UnitCopies::Copy copy;
    QString stamp;
    int sequence = 1;
};

// The comment is the copy's first line; a copy's comment is short.
QByteArray firstLine(const QString& path) {
    LineReader reader(path, 512);
    if (!reader.open())
        return {};
    const std::optional<LineReader::Line> line = reader.read(512);
    return line ? line->text : QByteArray();
}

ListedCopy listed(const QString& folder, const QString& name) {
    static const QRegularExpression named(QStringLiteral("^(\\d{8}-\\d{6})-(.*)\\.tvo$"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression numbered(QStringLiteral("^(.*)-(\\d+)$"));
    ListedCopy entry;
    entry.copy.path = QDir::toNativeSeparators(folder + QLatin1Char('/') + name);
    entry.copy.comment = firstLine(folder + QLatin1Char('/') + name);
    const std::optional<UnitCopies::CommentParts> parts = UnitCopies::partsOf(entry.copy.comment);
    if (parts) {
        entry.copy.identifier = parts->identifier;
        entry.copy.port = parts->port;
    }
    const QRegularExpressionMatch match = named.match(name);
    if (!match.hasMatch())
        return entry;
    entry.stamp = match.captured(1);
    entry.copy.taken = QDateTime::fromString(entry.stamp, StampFormat);
    // The identifier's part of the name may itself end in "-digits": the
    // comment's identifier tells where it ends.
    QString rest = match.captured(2);
    const QString known = parts ? identifierPart(parts->identifier) : QString();
    if (parts && rest.startsWith(known + QLatin1Char('-')))
        entry.sequence = rest.mid(known.size() + 1).toInt();
    else if (const QRegularExpressionMatch counted = numbered.match(rest);
             !parts && counted.hasMatch()) {
        rest = counted.captured(1);
        entry.sequence = counted.captured(2).toInt();
    }
    if (!parts)
        entry.copy.identifier = Windows1252::encode(rest).value_or(QByteArray());
    return entry;
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
    const QString stem = when.toString(StampFormat) + QLatin1Char('-') + identifierPart(identifier);
    FileReservation file = FileReservation::createNew(
        QDir::toNativeSeparators(copies.filePath(stem + QStringLiteral(".tvo"))));
    for (int taken = 2; !file.held() && file.outcome() != FileReservation::Outcome::Failed; ++taken)
        file = FileReservation::createNew(QDir::toNativeSeparators(
            copies.filePath(QStringLiteral("%1-%2.tvo").arg(stem).arg(taken))));
    if (file.outcome() == FileReservation::Outcome::Failed)
        return {{}, cannotWrite(file.path(), file.reason())};
    return {std::move(file), {}};
}

QList<Copy> list() {
    const QString copies = folder();
    std::vector<ListedCopy> entries;
    for (const QString& name : LocalFileName::messageFilesIn(copies))
        if (LocalFileName::status(copies + QLatin1Char('/') + name).size > 0)
            entries.push_back(listed(copies, name));
    std::sort(entries.begin(), entries.end(), [](const ListedCopy& a, const ListedCopy& b) {
        if (a.stamp != b.stamp)
            return a.stamp > b.stamp;
        if (a.sequence != b.sequence)
            return a.sequence > b.sequence;
        return a.copy.path > b.copy.path;
    });
    QList<Copy> result;
    result.reserve(qsizetype(entries.size()));
    for (ListedCopy& entry : entries)
        result += std::move(entry.copy);
    return result;
}

QByteArray comment(const Variabili& v, const QDateTime& when) {
    return CommentStart + v.Identificativo + PortWords + v.PortaCom + ", " +
           when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")).toLatin1();
}

std::optional<CommentParts> partsOf(const QByteArray& comment) {
    if (!comment.startsWith(CommentStart))
        return std::nullopt;
    // The date holds no comma: the last one ends the port.
    const qsizetype portAt = comment.indexOf(PortWords, CommentStart.size());
    const qsizetype dateAt = comment.lastIndexOf(", ");
    if (portAt < 0 || dateAt < portAt + PortWords.size())
        return std::nullopt;
    const qsizetype portStart = portAt + PortWords.size();
    return CommentParts{comment.mid(CommentStart.size(), portAt - CommentStart.size()),
                        comment.mid(portStart, dateAt - portStart)};
}

std::optional<Copy> newestOf(const QByteArray& identifier) {
    for (Copy& copy : list())
        if (copy.identifier == identifier)
            return std::move(copy);
    return std::nullopt;
}

QByteArray identifierOf(const QString& path) {
    const QString native = QDir::fromNativeSeparators(path);
    const qsizetype slash = native.lastIndexOf(QLatin1Char('/'));
    return listed(slash < 0 ? QStringLiteral(".") : native.left(slash), native.mid(slash + 1))
        .copy.identifier;
}

} // namespace UnitCopies

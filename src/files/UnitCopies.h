#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

struct Variabili;

// The folder where the program keeps the copies of a unit's texts that it
// takes by itself, one for the window and tarvo-cli alike, the names of the
// copies in it and the comment each copy begins with.
namespace UnitCopies {

// "copie" in the program's folder of the user's data (under XDG_DATA_HOME).
QString folder();

struct NewCopy {
    QString path;
    // Why the folder cannot be made, in Italian; empty when it was.
    QString problem;
};
// Where a new copy of the unit with this identifier, taken at `when`, goes:
// named by date, time and identifier, the folder made if missing. A name
// already taken gets "-2", "-3"… so that no copy replaces another.
NewCopy newCopy(const QByteArray& identifier, const QDateTime& when);

// The comment of a copy: the identifier, the port, the date and the time.
QByteArray comment(const Variabili& v, const QDateTime& when);
// The identifier and the port that such a comment names; none for another
// comment.
struct CommentParts {
    QByteArray identifier;
    QByteArray port;
};
std::optional<CommentParts> partsOf(const QByteArray& comment);

// A copy in the folder, as its name and its first line tell it.
struct Copy {
    QString path;
    // When it was taken, from the name; invalid for a name the program did
    // not give.
    QDateTime taken;
    // From the comment the program writes; where the comment is another, the
    // identifier is the name's and the port is unknown (empty).
    QByteArray identifier;
    QByteArray port;
    QByteArray comment;
};
// The copies in the folder, newest first (the later of two taken in the same
// second first; names the program did not give last). Only the first line of
// each is read. None when the folder does not exist.
QList<Copy> list();
// The newest copy of the unit with this identifier; none when there is none.
std::optional<Copy> newestOf(const QByteArray& identifier);

} // namespace UnitCopies

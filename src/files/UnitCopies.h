#pragma once

#include "files/FileReservation.h"

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
    // The new copy's name, held for the run that writes it.
    FileReservation file;
    // Why no name could be taken (the folder cannot be made or takes no new
    // file), in Italian; empty when one was.
    QString problem;
};
// Takes the name of a new copy of the unit with this identifier, taken at
// `when`: named by date, time and identifier, the folder made if missing. The
// file is created at once, exclusively, and a name already taken, also by a
// run of another process under way, gets "-2", "-3"… so that no copy
// replaces another. Until the copy is written over it the file is empty, and
// no list shows it.
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
// each is read. An empty file is no copy: one being taken, or left by a run
// that was killed. None when the folder does not exist.
QList<Copy> list();
// The newest copy of the unit with this identifier; none when there is none.
std::optional<Copy> newestOf(const QByteArray& identifier);
// The identifier of the unit that the copy at path was taken from, as its
// comment or the name the program gave it tells; empty when neither does.
QByteArray identifierOf(const QString& path);

} // namespace UnitCopies

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The folder where the program keeps the copies of a unit's texts that it
// takes by itself, one for the window and tarvo-cli alike, and the names of
// the copies in it.
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

} // namespace UnitCopies

#pragma once

#include "FileDescriptor.h"

#include <QString>

// A stable name for the simulated unit's port: a symbolic link in a per-user
// folder ($XDG_RUNTIME_DIR/tarvo-sim, else /tmp/tarvo-sim-<uid>) that points at
// the pseudo-terminal, so that the program can list the unit among the ports
// and a unit started again under the same name is found on the same path.
//
// Each link has a lock file beside it (name.lock) that the unit holds while it
// runs and removes when it ends: a link whose lock nobody holds was left
// behind by a unit that was killed, and is replaced by the next unit that
// takes its name.
class UnitLink {
  public:
    UnitLink() = default;
    ~UnitLink() { remove(); }
    UnitLink(const UnitLink&) = delete;
    UnitLink& operator=(const UnitLink&) = delete;

    // Points simulatedUnitFolder()/name at target; an empty name takes the first free of
    // tarvo-1, tarvo-2, ... False with the reason when it cannot.
    bool create(const QString& target, const QString& name, QString* error);
    // Removes the link and lets go of its name.
    void remove();

    QString path() const { return m_path; }

  private:
    bool take(const QString& folder, const QString& name, const QString& target, QString* error);

    FileDescriptor m_lock;
    QString m_path;
};

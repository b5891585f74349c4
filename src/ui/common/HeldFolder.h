#pragma once

#include <QString>

#include <memory>

// A folder held open so that it can be watched although Qt cannot name it (a
// name that is not valid UTF-8): watchPath() names it for Qt while it is held.
class HeldFolder {
  public:
    explicit HeldFolder(const QString& folder);
    ~HeldFolder();

    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    // Empty when the folder could not be opened.
    QString watchPath() const;

  private:
    struct Held;
    std::unique_ptr<Held> m_held;
};

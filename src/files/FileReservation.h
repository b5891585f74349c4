#pragma once

#include <QString>

#include <memory>

// A file name this process holds while it writes that file whole, so that two
// runs never write one file at the same time: another process claiming the
// name meanwhile is refused. The hold is a lock on the file, which the system
// drops with the process. A file that the claim created stays empty until the
// complete file is renamed over it; released before that, it is removed, so
// that a run that fails or is stopped leaves no empty file behind.
class FileReservation {
  public:
    enum class Outcome { Held, Exists, Busy, Failed };

    FileReservation();
    FileReservation(FileReservation&& other) noexcept;
    FileReservation& operator=(FileReservation&& other) noexcept;
    ~FileReservation();

    // Creates the file, empty, and holds it; Exists when a file of that name
    // is already there, which is left alone.
    static FileReservation createNew(const QString& path);
    // Holds the file at path, created empty when missing; Busy while another
    // process holds it.
    static FileReservation claim(const QString& path);

    Outcome outcome() const { return m_outcome; }
    bool held() const { return m_outcome == Outcome::Held; }
    QString path() const { return m_path; }
    // The claim made the file: there was none of that name before.
    bool created() const { return m_created; }
    // Why the claim failed, in Italian; empty unless Failed.
    QString reason() const { return m_reason; }

    // Holds the complete file that was renamed over the one held, a file of
    // its own, so that no other run replaces it before this one ends.
    void holdWritten();
    // Lets the name go. A file the claim made is removed while it is still
    // the empty one it made.
    void release();

  private:
    // The system's hold on the name, while there is one, and its end: each
    // platform's own.
    struct Hold;
    struct EndHold {
        void operator()(Hold* hold) const;
    };

    // Removes the file at the path while it is still the empty one the claim made.
    void removeIfStillMade();

    std::unique_ptr<Hold, EndHold> m_hold;
    QString m_path;
    Outcome m_outcome = Outcome::Failed;
    bool m_created = false;
    QString m_reason;
};

#include "files/FileReservation.h"

FileReservation::FileReservation() = default;

FileReservation::FileReservation(FileReservation&& other) noexcept
    : m_hold(std::move(other.m_hold)), m_path(std::move(other.m_path)), m_outcome(other.m_outcome),
      m_created(other.m_created), m_reason(std::move(other.m_reason)) {
    other.m_outcome = Outcome::Failed;
    other.m_created = false;
}

FileReservation& FileReservation::operator=(FileReservation&& other) noexcept {
    if (this != &other) {
        release();
        m_hold = std::move(other.m_hold);
        m_path = std::move(other.m_path);
        m_outcome = other.m_outcome;
        m_created = other.m_created;
        m_reason = std::move(other.m_reason);
        other.m_outcome = Outcome::Failed;
        other.m_created = false;
    }
    return *this;
}

FileReservation::~FileReservation() {
    release();
}

void FileReservation::release() {
    if (!m_hold)
        return;
    if (m_created && m_outcome == Outcome::Held)
        removeIfStillMade();
    m_hold.reset();
    m_outcome = Outcome::Failed;
    m_created = false;
}

#pragma once

// Marks that an operation runs for as long as the guard lives, so that the
// window's handlers can refuse to start a second one inside its waits.
class OperationGuard {
  public:
    explicit OperationGuard(bool& running) : m_running(running) { m_running = true; }
    ~OperationGuard() { m_running = false; }
    OperationGuard(const OperationGuard&) = delete;
    OperationGuard& operator=(const OperationGuard&) = delete;

  private:
    bool& m_running;
};

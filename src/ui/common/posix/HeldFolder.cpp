#include "ui/common/HeldFolder.h"

#include "files/LocalFileName.h"

#include <fcntl.h>
#include <unistd.h>

HeldFolder::HeldFolder(const QString& folder)
    : m_descriptor(
          ::open(LocalFileName::encode(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

HeldFolder::~HeldFolder() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

// The name the system gives the open descriptor.
QString HeldFolder::watchPath() const {
    return m_descriptor >= 0 ? QStringLiteral("/proc/self/fd/%1").arg(m_descriptor) : QString();
}

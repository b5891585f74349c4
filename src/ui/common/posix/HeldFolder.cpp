#include "ui/common/HeldFolder.h"

#include "files/LocalFileName.h"

#include <fcntl.h>
#include <unistd.h>

struct HeldFolder::Held {
    int descriptor = -1;
};

HeldFolder::HeldFolder(const QString& folder)
    : m_held(std::make_unique<Held>(Held{::open(LocalFileName::encode(folder).constData(),
                                                O_RDONLY | O_DIRECTORY | O_CLOEXEC)})) {}

HeldFolder::~HeldFolder() {
    if (m_held->descriptor >= 0)
        ::close(m_held->descriptor);
}

// The name the system gives the open descriptor.
QString HeldFolder::watchPath() const {
    return m_held->descriptor >= 0 ? QStringLiteral("/proc/self/fd/%1").arg(m_held->descriptor)
                                   : QString();
}

#include "ui/common/HeldFolder.h"

// Qt names every folder Windows can hold (its names are UTF-16, as Qt's):
// the folder is watched by its own name.
struct HeldFolder::Held {
    QString folder;
};

HeldFolder::HeldFolder(const QString& folder) : m_held(std::make_unique<Held>(Held{folder})) {}

HeldFolder::~HeldFolder() = default;

QString HeldFolder::watchPath() const {
    return m_held->folder;
}

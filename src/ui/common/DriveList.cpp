#include "ui/common/DriveList.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace {

QStringList readableRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots += volume.rootPath();
    }
    const QString root = QDir::rootPath();
    std::sort(roots.begin(), roots.end(), [&root](const QString& a, const QString& b) {
        if ((a == root) != (b == root))
            return a == root;
        return a < b;
    });
    return roots;
}

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    for (const QString& root : readableRoots())
        addItem(QDir::toNativeSeparators(root), root);
    const int current = findData(QStorageInfo(QDir::currentPath()).rootPath());
    if (current >= 0)
        setCurrentIndex(current);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit driveChanged(drive()); });
}

QString DriveList::drive() const {
    return currentData().toString();
}

QString DriveList::currentFolder() const {
    const QString current = QDir::currentPath();
    return QStorageInfo(current).rootPath() == drive() ? current : drive();
}

#include "ui/common/FolderEntryModel.h"

#include "files/LocalFileName.h"

#include <QFileIconProvider>
#include <QSet>

#include <algorithm>

FolderEntryModel::FolderEntryModel(Shows shows, QObject* parent)
    : QAbstractListModel(parent), m_shows(shows) {
    // The order of the system's file dialogs: letter case ignored, numbers by value.
    m_order.setCaseSensitivity(Qt::CaseInsensitive);
    m_order.setNumericMode(true);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FolderEntryModel::refresh);
}

void FolderEntryModel::setFolder(const QString& folder) {
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_unnamedFolder.reset();
    m_folder = folder;
    if (LocalFileName::qtCanName(folder)) {
        m_watcher.addPath(folder);
    } else {
        // A name that is not valid UTF-8: the folder is watched through the
        // name the system gives its open descriptor.
        m_unnamedFolder.reset(::opendir(LocalFileName::encode(folder).constData()));
        if (m_unnamedFolder)
            m_watcher.addPath(
                QStringLiteral("/proc/self/fd/%1").arg(::dirfd(m_unnamedFolder.get())));
    }
    beginResetModel();
    m_names = sortedEntries();
    endResetModel();
}

QStringList FolderEntryModel::sortedEntries() const {
    QStringList names = m_shows == Shows::MessageFiles ? LocalFileName::messageFilesIn(m_folder)
                                                       : LocalFileName::foldersIn(m_folder);
    std::sort(names.begin(), names.end(), [this](const QString& a, const QString& b) {
        const QString up = QStringLiteral("..");
        if (a == up || b == up)
            return a == up && b != up;
        const int order = m_order.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

void FolderEntryModel::refresh() {
    const QStringList now = sortedEntries();
    const QSet<QString> listed(now.cbegin(), now.cend());
    qsizetype row = 0;
    for (const QString& name : now) {
        while (row < m_names.size() && m_names.at(row) != name &&
               !listed.contains(m_names.at(row))) {
            beginRemoveRows({}, int(row), int(row));
            m_names.removeAt(row);
            endRemoveRows();
        }
        if (row < m_names.size() && m_names.at(row) == name) {
            ++row;
            continue;
        }
        beginInsertRows({}, int(row), int(row));
        m_names.insert(row, name);
        endInsertRows();
        ++row;
    }
    if (row < m_names.size()) {
        beginRemoveRows({}, int(row), int(m_names.size() - 1));
        m_names.resize(row);
        endRemoveRows();
    }
}

int FolderEntryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FolderEntryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    const QString& name = m_names.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return LocalFileName::readable(name);
    case Qt::DecorationRole:
        return QFileIconProvider().icon(m_shows == Shows::MessageFiles ? QFileIconProvider::File
                                                                       : QFileIconProvider::Folder);
    case NameRole:
        return name;
    default:
        return {};
    }
}

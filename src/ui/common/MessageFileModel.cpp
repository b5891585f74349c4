#include "ui/common/MessageFileModel.h"

#include "files/LocalFileName.h"

#include <QFileIconProvider>
#include <QSet>

#include <algorithm>

MessageFileModel::MessageFileModel(QObject* parent) : QAbstractListModel(parent) {
    // The order of the system's file dialogs: letter case ignored, numbers by value.
    m_order.setCaseSensitivity(Qt::CaseInsensitive);
    m_order.setNumericMode(true);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &MessageFileModel::refresh);
}

void MessageFileModel::setFolder(const QString& folder) {
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_folder = folder;
    m_watcher.addPath(folder);
    beginResetModel();
    m_names = sortedFiles();
    endResetModel();
}

QStringList MessageFileModel::sortedFiles() const {
    QStringList names = LocalFileName::messageFilesIn(m_folder);
    std::sort(names.begin(), names.end(), [this](const QString& a, const QString& b) {
        const int order = m_order.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

void MessageFileModel::refresh() {
    const QStringList now = sortedFiles();
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

int MessageFileModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant MessageFileModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    const QString& name = m_names.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return LocalFileName::readable(name);
    case Qt::DecorationRole:
        return QFileIconProvider().icon(QFileIconProvider::File);
    case NameRole:
        return name;
    default:
        return {};
    }
}

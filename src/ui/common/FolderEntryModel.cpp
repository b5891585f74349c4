#include "ui/common/FolderEntryModel.h"

#include "files/FolderAccess.h"
#include "files/LocalFileName.h"

#include <QCollatorSortKey>
#include <QFileIconProvider>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {
const QString up = QStringLiteral("..");
} // namespace

FolderEntryModel::FolderEntryModel(Shows shows, QObject* parent)
    : QAbstractListModel(parent), m_shows(shows),
      m_icon(QFileIconProvider().icon(shows == Shows::MessageFiles ? QFileIconProvider::File
                                                                   : QFileIconProvider::Folder)) {
    // The order of the system's file dialogs: letter case ignored, numbers by value.
    m_order.setCaseSensitivity(Qt::CaseInsensitive);
    m_order.setNumericMode(true);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &FolderEntryModel::queueRefresh);
}

void FolderEntryModel::setFolder(const QString& folder) {
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_unnamedFolder.reset();
    m_folder = folder;
    if (LocalFileName::qtCanName(folder)) {
        m_watcher.addPath(folder);
    } else {
        // A name that is not valid UTF-8: the folder is watched while held open.
        m_unnamedFolder = std::make_unique<HeldFolder>(folder);
        if (const QString path = m_unnamedFolder->watchPath(); !path.isEmpty())
            m_watcher.addPath(path);
    }
    QStringList names = entries();
    sort(names);
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

QStringList FolderEntryModel::entries() const {
    return m_shows == Shows::MessageFiles ? LocalFileName::messageFilesIn(m_folder)
                                          : LocalFileName::foldersIn(m_folder);
}

// Letter case is folded first: in the C locale Qt's keys would keep it apart.
QCollatorSortKey FolderEntryModel::key(const QString& name) const {
    return m_order.sortKey(name.toCaseFolded());
}

bool FolderEntryModel::comesBefore(const QString& a, const QCollatorSortKey& aKey, const QString& b,
                                   const QCollatorSortKey& bKey) {
    if (a == up || b == up)
        return a == up && b != up;
    const int order = aKey.compare(bKey);
    return order != 0 ? order < 0 : a < b;
}

// The collation key of each name is made once, so that sorting thousands of
// names compares bytes rather than collating the names again at every step.
void FolderEntryModel::sort(QStringList& names) const {
    struct Keyed {
        QCollatorSortKey key;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (QString& name : names)
        keyed.push_back({key(name), std::move(name)});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return comesBefore(a.name, a.key, b.name, b.key);
    });
    names.clear();
    for (Keyed& entry : keyed)
        names += std::move(entry.name);
}

// A burst of changes (a file created, then written and closed) is read once.
void FolderEntryModel::queueRefresh() {
    if (m_refreshQueued)
        return;
    m_refreshQueued = true;
    QTimer::singleShot(0, this, &FolderEntryModel::refresh);
}

void FolderEntryModel::refresh() {
    m_refreshQueued = false;
    if (folderEntryError(m_folder).failed()) {
        emit folderLost();
        return;
    }
    const QStringList now = entries();
    removeGone(now);
    insertNew(now);
}

void FolderEntryModel::removeGone(const QStringList& now) {
    const QSet<QString> present(now.cbegin(), now.cend());
    for (qsizetype last = m_names.size() - 1; last >= 0; --last) {
        if (present.contains(m_names.at(last)))
            continue;
        qsizetype first = last;
        while (first > 0 && !present.contains(m_names.at(first - 1)))
            --first;
        beginRemoveRows({}, int(first), int(last));
        m_names.remove(first, last - first + 1);
        endRemoveRows();
        last = first;
    }
}

void FolderEntryModel::insertNew(const QStringList& now) {
    const QSet<QString> listed(m_names.cbegin(), m_names.cend());
    QStringList added;
    for (const QString& name : now)
        if (!listed.contains(name))
            added += name;
    sort(added);
    const auto before = [this](const QString& a, const QString& b) {
        return comesBefore(a, key(a), b, key(b));
    };
    // Names that go in at the same place go in together.
    for (qsizetype next = 0; next < added.size();) {
        const int row =
            int(std::lower_bound(m_names.cbegin(), m_names.cend(), added.at(next), before) -
                m_names.cbegin());
        qsizetype end = next + 1;
        while (end < added.size() &&
               (row == m_names.size() || before(added.at(end), m_names.at(row))))
            ++end;
        beginInsertRows({}, row, int(row + end - next - 1));
        for (qsizetype i = next; i < end; ++i)
            m_names.insert(row + (i - next), added.at(i));
        endInsertRows();
        next = end;
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
        return m_icon;
    case NameRole:
        return name;
    default:
        return {};
    }
}

#pragma once

#include "ui/common/HeldFolder.h"

#include <QAbstractListModel>
#include <QCollator>
#include <QFileSystemWatcher>
#include <QIcon>
#include <QStringList>

#include <memory>

// What one folder holds for a list: its message files or its sub-folders
// (LocalFileName), in name order with ".." first, kept up to date while
// entries are created, renamed or deleted on the disk: only the names that
// changed come and go, so the entries that stay keep their rows' selection and
// a folder of many thousands of entries stays cheap to follow. A row shows its
// name readably; NameRole gives it as the program holds it, byte-exact also
// when it is not valid UTF-8.
class FolderEntryModel : public QAbstractListModel {
    Q_OBJECT
  public:
    enum class Shows { MessageFiles, Folders };
    static constexpr int NameRole = Qt::UserRole;

    explicit FolderEntryModel(Shows shows, QObject* parent = nullptr);

    void setFolder(const QString& folder);
    // The row of the named entry, -1 when it is not listed.
    int row(const QString& name) const { return int(m_names.indexOf(name)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  signals:
    // The folder can no longer be read (deleted, moved away, closed to this
    // user); the rows stay as they were.
    void folderLost();

  private:
    QStringList entries() const;
    QCollatorSortKey key(const QString& name) const;
    static bool comesBefore(const QString& a, const QCollatorSortKey& aKey, const QString& b,
                            const QCollatorSortKey& bKey);
    void sort(QStringList& names) const;
    void queueRefresh();
    void refresh();
    void removeGone(const QStringList& now);
    void insertNew(const QStringList& now);

    Shows m_shows;
    QString m_folder;
    QStringList m_names;
    QFileSystemWatcher m_watcher;
    // The shown folder held open when Qt cannot name it, to be watched.
    std::unique_ptr<HeldFolder> m_unnamedFolder;
    QCollator m_order;
    QIcon m_icon;
    bool m_refreshQueued = false;
};

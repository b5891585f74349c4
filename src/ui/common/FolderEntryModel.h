#pragma once

#include <QAbstractListModel>
#include <QCollator>
#include <QFileSystemWatcher>
#include <QStringList>

#include <dirent.h>

#include <memory>

// What one folder holds for a list: its message files or its sub-folders
// (LocalFileName), in name order with ".." first, kept up to date while
// entries are created, renamed or deleted on the disk: rows come and go one by
// one, so the entries that stay keep their selection. A row shows its name
// readably; NameRole gives it as the program holds it, byte-exact also when it
// is not valid UTF-8.
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

  private:
    QStringList sortedEntries() const;
    void refresh();

    Shows m_shows;
    QString m_folder;
    QStringList m_names;
    QFileSystemWatcher m_watcher;
    // The shown folder held open when Qt cannot name it, to be watched.
    std::unique_ptr<DIR, int (*)(DIR*)> m_unnamedFolder{nullptr, ::closedir};
    QCollator m_order;
};

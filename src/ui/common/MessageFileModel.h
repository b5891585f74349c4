#pragma once

#include <QAbstractListModel>
#include <QCollator>
#include <QFileSystemWatcher>
#include <QStringList>

// The message files of one folder (LocalFileName::messageFilesIn) in name
// order, kept up to date while files are created, renamed or deleted on the
// disk: rows come and go one by one, so the entries that stay keep their
// selection. A row shows its name readably; NameRole gives it as the program
// holds it, byte-exact also when it is not valid UTF-8.
class MessageFileModel : public QAbstractListModel {
    Q_OBJECT
  public:
    static constexpr int NameRole = Qt::UserRole;

    explicit MessageFileModel(QObject* parent = nullptr);

    void setFolder(const QString& folder);
    // The row of the named file, -1 when it is not listed.
    int row(const QString& name) const { return int(m_names.indexOf(name)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    QStringList sortedFiles() const;
    void refresh();

    QString m_folder;
    QStringList m_names;
    QFileSystemWatcher m_watcher;
    QCollator m_order;
};

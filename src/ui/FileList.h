#pragma once

#include <QListView>
#include <QString>

class QFileSystemModel;

// The file list: the message files (*.tvo, letter case ignored) of one folder,
// hidden and system files left out. Selecting an entry, by mouse or keyboard
// (arrow keys, typing its name, Tab into the list), makes it the current entry
// and emits fileSelected() with its name.
class FileList : public QListView {
    Q_OBJECT
  public:
    explicit FileList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);

  signals:
    void fileSelected(const QString& name);

  private:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

    QFileSystemModel* m_model;
    QString m_path;
};

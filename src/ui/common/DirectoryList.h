#pragma once

#include <QString>
#include <QWidget>

class FolderEntryModel;
class QLabel;
class QListView;
class QModelIndex;

// The directory list: the current folder's path above the list of its
// sub-folders (names that are not valid UTF-8 included), with ".." to go up.
// Opening a folder (double click or Enter) makes it the current one and emits
// pathChanged(), as does setPath().
class DirectoryList : public QWidget {
    Q_OBJECT
  public:
    explicit DirectoryList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);

    QListView* view() const { return m_view; }

  signals:
    void pathChanged(const QString& path);

  private:
    void open(const QModelIndex& index);

    QLabel* m_label;
    QListView* m_view;
    FolderEntryModel* m_model;
    QString m_path;
};

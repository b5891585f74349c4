#pragma once

#include <QFileSystemWatcher>
#include <QString>
#include <QWidget>

class FolderEntryModel;
class QLabel;
class QListView;
class QModelIndex;

// The directory list: the current folder's path above the list of its
// sub-folders (names that are not valid UTF-8 included), with ".." to go up
// except at the root. Opening a folder (double click or Enter) makes it the
// current one and emits pathChanged(), as does setPath(); a folder that this
// user may not enter is not entered, and refused() says why. When the folder
// shown disappears, the list moves to the nearest folder above it that can be
// shown, and movedUp() says so.
class DirectoryList : public QWidget {
    Q_OBJECT
  public:
    explicit DirectoryList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);
    // Makes path the current folder when it can be entered; otherwise the
    // list stays where it is and refused() says why.
    void enter(const QString& path);

    QListView* view() const { return m_view; }

  signals:
    void pathChanged(const QString& path);
    // reason: a sentence for the operator.
    void refused(const QString& reason);
    // The folder shown can no longer be shown, and the list has moved up;
    // reason: a sentence for the operator.
    void movedUp(const QString& reason);

  private:
    void open(const QModelIndex& index);
    void moveUp();

    QLabel* m_label;
    QListView* m_view;
    FolderEntryModel* m_model;
    // The folder above the one shown: its removal is heard there also while
    // the folder itself is held (the process's working folder is told nothing).
    QFileSystemWatcher m_parent;
    QString m_path;
};

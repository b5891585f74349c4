#pragma once

#include <QListView>
#include <QString>

class QFileSystemModel;

// The file list: the message files (*.tvo, letter case ignored) of one folder,
// hidden and system files left out. An entry is picked only by the operator:
// a mouse click on it, or a keyboard move made in the list (arrow keys,
// Home/End, Page Up/Down, typing its name); fileSelected() then gives its
// name, and the picked entry is the one shown selected. Focus arriving in the
// list, the folder changing or refilling (a file created, renamed or deleted
// behind the program's back) may move the focus mark but pick nothing.
class FileList : public QListView {
    Q_OBJECT
  public:
    explicit FileList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);

  signals:
    void fileSelected(const QString& name);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

  private:
    void pick(const QModelIndex& index);

    QFileSystemModel* m_model;
    QString m_path;
};

#pragma once

#include <QListView>
#include <QString>

class FolderEntryModel;

// The file list: the message files (*.tvo, letter case ignored) of one folder,
// hidden and system files and folders left out, names that are not valid UTF-8
// included (FolderEntryModel). An entry is picked only by the operator:
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

    // The listed files, and the row of the named file of the shown folder in
    // this list (invalid when not listed).
    FolderEntryModel* files() const { return m_model; }
    QModelIndex entry(const QString& name) const;

  signals:
    void fileSelected(const QString& name);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

  private:
    void pick(const QModelIndex& index);

    FolderEntryModel* m_model;
    QString m_path;
};

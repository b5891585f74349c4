#pragma once

#include <QLabel>

class FileList;
class QLineEdit;

// Says, before "Salva" is pressed, that the name in the name box names a file
// that already stands in the folder shown, which saving replaces without a
// question, and selects that file in the list (the selection is what screen
// readers report). A name carried over from another folder thus never
// replaces a file the operator has not seen. Follows the name as it is typed
// or picked, the folder as it changes and the folder's files as they come
// and go.
class ReplaceNotice : public QLabel {
    Q_OBJECT
  public:
    ReplaceNotice(FileList& list, QLineEdit& nameBox, QWidget* parent = nullptr);

    void refresh();

  private:
    // The name box's text when it names a file that "Salva" would replace;
    // empty otherwise.
    QString replacedName() const;
    void markInList(const QString& name);

    FileList& m_list;
    QLineEdit& m_nameBox;
};

#pragma once

#include "ui/common/SaveWindowOpener.h"
#include "ui/editor/MessageTextArea.h"

#include <QWidget>

class EditorChecks;
class QLabel;
class QLineEdit;
class QPushButton;
struct Variabili;

// The message editor: shows the selected message file by the editor rules as
// editable text, and hands the text to the save window on "Salva ". Loading
// reads the file; each showing is one modal display.
class EditaMessaggi : public QWidget {
    Q_OBJECT

  public:
    EditaMessaggi(Variabili& v, SaveWindowOpener openSaveWindow, QWidget* parent = nullptr);

    // Shows the window modally and returns once it is closed, or at once when
    // the program is asked to close (the window then closes itself).
    void showModal();

  private:
    QLabel* Label1;
    QLabel* Label20;
    QLineEdit* Text2;
    QPushButton* Command1;
    QPushButton* Command2;
    MessageTextArea* Text1;
    // Where the editor tells what went wrong: a file that cannot be read, a
    // character that a message file cannot hold.
    QLabel* m_message;
    // The lines of the file that are not shown, and so not saved again.
    QLabel* m_hiddenLines;

    void build();
    void load();
    void save();
    void showMessage(const QString& text);

    Variabili& m_v;
    SaveWindowOpener m_openSaveWindow;
    // Why the file could not be read; it stays shown for the editor's lifetime.
    QString m_readError;
    // The file opened had a comment line, shown in Text2.
    bool m_commentRead = false;
    bool m_saving = false;
    EditorChecks* m_checks = nullptr;
};

#pragma once

#include "ui/common/SaveWindowOpener.h"

#include <QWidget>

class DirectoryList;
class DriveList;
class FileList;
class QLabel;
class QLineEdit;
class QPushButton;
class ReplaceNotice;
struct Variabili;

// The save window: writes TestoMessaggi as a message file under a ".tvo" name
// chosen in a folder, with the comment typed here as its first line. A
// successful save leaves the file's path in FileSelezionato and closes the
// window; a failed one says why and keeps the window open.
class FormSalvaFile : public QWidget {
    Q_OBJECT

  public:
    explicit FormSalvaFile(Variabili& v, QWidget* parent = nullptr);

    // Shows the window modally and returns once it is closed, or at once when
    // the program is asked to close (the window then closes without writing).
    void showModal();

  private:
    DriveList* Drive1;
    DirectoryList* Dir1;
    FileList* File1;
    QLabel* Label3;
    QLabel* Label2;
    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label4;
    QLineEdit* Text2;
    QPushButton* Command2;
    QPushButton* Command1;
    // Why the last "Salva" wrote nothing.
    QLabel* m_message;

    void build();
    void arrange();
    void load();
    void changeDrive();
    void changeFolder(const QString& folder);
    void showFolder();
    void save();

    Variabili& m_v;
    // Names the file that "Salva" would replace, when there is one.
    ReplaceNotice* m_replaceNotice;
};

// Opens a fresh save window over the session state for each body offered.
SaveWindowOpener saveWindowOpener(Variabili& v);

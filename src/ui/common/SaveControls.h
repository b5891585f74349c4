#pragma once

#include <QLabel>
#include <QLineEdit>

class DirectoryList;
class DriveList;
class FileList;
struct Variabili;

// Set-ups and waits that the windows share: the editor and the save window,
// and for the file lists the main window too.
namespace SaveControls {

// The file's comment box: accessible name and the tooltip colours that mark
// it as a hint.
void setUpCommentBox(QLineEdit* box);
// The label where a window tells the operator what went wrong: wrapped, bold,
// dark red, selectable.
void setUpMessageLabel(QLabel* label);
// The accessible names of the drive, folder and file lists.
void nameFileLists(DriveList* drive, DirectoryList* folder, FileList* files);
// Shows the window application-modal and runs events until it is closed or
// the program is asked to close (then the window is closed too). Does
// nothing once the program is closing.
void showModal(QWidget& window, const Variabili& v);

} // namespace SaveControls

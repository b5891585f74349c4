#include "ui/common/SaveControls.h"

#include "core/EventWait.h"
#include "core/Variabili.h"
#include "ui/common/DirectoryList.h"
#include "ui/common/DriveList.h"
#include "ui/common/FileList.h"
#include "ui/common/WindowStyle.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>

namespace SaveControls {

void setUpCommentBox(QLineEdit* box) {
    box->setAccessibleName(QStringLiteral("Commento del file"));
    QPalette hint = box->palette();
    hint.setColor(QPalette::Base, hint.color(QPalette::ToolTipBase));
    hint.setColor(QPalette::Text, hint.color(QPalette::ToolTipText));
    box->setPalette(hint);
}

void setUpMessageLabel(QLabel* label) {
    label->setObjectName(QStringLiteral("Messaggio"));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = WindowStyle::font();
    bold.setBold(true);
    label->setFont(bold);
    WindowStyle::setColour(label, QPalette::WindowText, QColor(0xA0, 0, 0));
}

void nameFileLists(DriveList* drive, DirectoryList* folder, FileList* files) {
    drive->setAccessibleName(QStringLiteral("Unità"));
    folder->setAccessibleName(QStringLiteral("Cartella"));
    folder->view()->setAccessibleName(QStringLiteral("Cartella"));
    files->setAccessibleName(QStringLiteral("File di messaggi"));
}

void showModal(QWidget& window, const Variabili& v) {
    if (v.closeRequested)
        return;
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    EventWait::until([&] { return !window.isVisible() || v.closeRequested; });
    if (window.isVisible())
        window.close();
}

} // namespace SaveControls

#include "device/StatusBoxes.h"

#include "core/Windows1252.h"

#include <QLineEdit>

namespace StatusBoxes {

void show(QLineEdit* box, const QByteArray& bytes) {
    show(box, Windows1252::decode(bytes));
}

void show(QLineEdit* box, const QString& message) {
    box->setText(message);
    // A message longer than the box shows its beginning.
    box->setCursorPosition(0);
}

} // namespace StatusBoxes

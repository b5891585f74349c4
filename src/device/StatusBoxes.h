#pragma once

#include <QByteArray>
#include <QString>

class QLineEdit;

// The operations write bytes (records, replies) and messages into the main
// window's status boxes.
namespace StatusBoxes {

void show(QLineEdit* box, const QByteArray& bytes);
void show(QLineEdit* box, const QString& message);

} // namespace StatusBoxes

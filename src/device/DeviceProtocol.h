#pragma once

#include "device/FrameLayout.h"
#include "files/RecordLayout.h"

#include <QByteArray>

// The unit's command frames and the checks of its replies, laid out as
// FrameLayout tells.
namespace DeviceProtocol {

QByteArray testFrame(const QByteArray& identifier);
// The record is cut or space-padded to 19 characters: address and text.
QByteArray writeFrame(const QByteArray& identifier, const QByteArray& record);
QByteArray readBody(const QByteArray& address);
QByteArray readFrame(const QByteArray& identifier, const QByteArray& address);

// The reply of a test without its first three characters, and its verb.
QByteArray testReplyWithoutPrefix(const QByteArray& reply);
QByteArray testVerb(const QByteArray& replyWithoutPrefix);
bool unitPresent(const QByteArray& verb);
// Whether a trimmed test reply is the unit's: its verb says it is present.
bool answersTest(const QByteArray& reply);
// Character 6 of a write reply is "R".
bool writeConfirmed(const QByteArray& reply);
// A read reply of a unit that answers properly leaves a text of exactly
// RecordLayout::textLength characters. Only the length is judged: what stands before the
// text is the unit's own business.
bool readReplyValid(const QByteArray& reply);
// A read reply without its first seven characters.
QByteArray textRead(const QByteArray& reply);

} // namespace DeviceProtocol

#include "device/DeviceProtocol.h"

#include "device/FrameLayout.h"

namespace DeviceProtocol {

QByteArray testFrame(const QByteArray& identifier) {
    return identifier + FrameLayout::testCommand + FrameLayout::frameEnd;
}

QByteArray writeFrame(const QByteArray& identifier, const QByteArray& record) {
    return identifier + FrameLayout::writeCommand +
           record.left(RecordLayout::recordLength).leftJustified(RecordLayout::recordLength) +
           FrameLayout::frameEnd;
}

QByteArray readBody(const QByteArray& address) {
    return FrameLayout::readCommand + address.left(RecordLayout::addressDigits);
}

QByteArray readFrame(const QByteArray& identifier, const QByteArray& address) {
    return identifier + readBody(address) + FrameLayout::frameEnd;
}

QByteArray testReplyWithoutPrefix(const QByteArray& reply) {
    return reply.mid(FrameLayout::testVerbStart);
}

QByteArray testVerb(const QByteArray& replyWithoutPrefix) {
    return replyWithoutPrefix.left(FrameLayout::testVerbLength);
}

bool unitPresent(const QByteArray& verb) {
    return verb == FrameLayout::presentVerb;
}

bool answersTest(const QByteArray& reply) {
    return unitPresent(testVerb(testReplyWithoutPrefix(reply)));
}

bool writeConfirmed(const QByteArray& reply) {
    return reply.size() > FrameLayout::writeVerdictIndex &&
           reply[FrameLayout::writeVerdictIndex] == FrameLayout::writeStored;
}

bool readReplyValid(const QByteArray& reply) {
    return textRead(reply).size() == RecordLayout::textLength;
}

QByteArray textRead(const QByteArray& reply) {
    return reply.mid(FrameLayout::readTextStart);
}

} // namespace DeviceProtocol

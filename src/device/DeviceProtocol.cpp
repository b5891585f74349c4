#include "device/DeviceProtocol.h"

namespace DeviceProtocol {

QByteArray testFrame(const QByteArray& identifier) {
    return identifier + "TA\r";
}

QByteArray writeFrame(const QByteArray& identifier, const QByteArray& record) {
    return identifier + "0W016" +
           record.left(RecordLayout::recordLength).leftJustified(RecordLayout::recordLength) + '\r';
}

QByteArray readBody(const QByteArray& address) {
    return "0R" + address.left(RecordLayout::addressDigits);
}

QByteArray readFrame(const QByteArray& identifier, const QByteArray& address) {
    return identifier + readBody(address) + '\r';
}

QByteArray testReplyWithoutPrefix(const QByteArray& reply) {
    return reply.mid(3);
}

QByteArray testVerb(const QByteArray& replyWithoutPrefix) {
    return replyWithoutPrefix.left(2);
}

bool unitPresent(const QByteArray& verb) {
    return verb == "TA";
}

bool writeConfirmed(const QByteArray& reply) {
    return reply.size() >= 6 && reply[5] == 'R';
}

bool readReplyValid(const QByteArray& reply) {
    return textRead(reply).size() == RecordLayout::textLength;
}

QByteArray textRead(const QByteArray& reply) {
    return reply.mid(7);
}

} // namespace DeviceProtocol

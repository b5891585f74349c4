#include "UnitProtocol.h"

namespace {

constexpr char CR = '\r';
// "0W", "016", three address digits, the text.
constexpr qsizetype WriteBodyLength = 2 + 3 + 3 + UnitMemory::TextLength;
// "0R", three address digits.
constexpr qsizetype ReadBodyLength = 2 + 3;

// Replies keep their fields at fixed places whatever the identifier's length,
// so the identifier they start with is cut or padded to three characters.
QByteArray replyPrefix(const QByteArray& identifier) {
    return identifier.left(3).leftJustified(3, ' ');
}

// Every byte but the final CR replaced by one that differs from it, so that no
// check on the reply can pass.
QByteArray garbled(QByteArray reply) {
    for (qsizetype i = 0; i + 1 < reply.size(); ++i)
        reply[i] = reply[i] == '?' ? '!' : '?';
    return reply;
}

QByteArray shortened(const QByteArray& reply) {
    return reply.left(reply.size() / 2 - 1) + CR;
}

} // namespace

QByteArray UnitProtocol::answer(const QByteArray& frame, const UnitOptions& options) {
    ++m_frames;
    if (options.silentFrom > 0 && m_frames >= options.silentFrom)
        return {};
    if (!frame.endsWith(CR) || !frame.startsWith(options.identifier))
        return {};
    const QByteArrayView body = QByteArrayView(frame).sliced(options.identifier.size()).chopped(1);
    QByteArray result = reply(body, options);
    if (result.isEmpty())
        return {};
    if (options.garble)
        result = garbled(result);
    if (options.shortReplies)
        result = shortened(result);
    return result;
}

QByteArray UnitProtocol::reply(QByteArrayView body, const UnitOptions& options) {
    const QByteArray prefix = replyPrefix(options.identifier);
    if (body == "TA")
        return prefix + "TA" + CR;
    if (body.startsWith("0W")) {
        ++m_writes;
        const bool refused = options.refuseWriteFrom > 0 && m_writes >= options.refuseWriteFrom;
        const bool stored = !refused && store(body);
        return prefix + "0W" + (stored ? 'R' : 'N') + CR;
    }
    if (body.startsWith("0R") && body.size() == ReadBodyLength) {
        const int address = parseAddress(body.sliced(2, 3));
        if (address >= 0)
            return prefix + "0R16" + m_memory.text(address) + CR;
    }
    return {};
}

bool UnitProtocol::store(QByteArrayView body) {
    if (body.size() != WriteBodyLength || body.sliced(2, 3) != "016")
        return false;
    const int address = parseAddress(body.sliced(5, 3));
    return address >= 0 && m_memory.setText(address, body.sliced(8).toByteArray());
}

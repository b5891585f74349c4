#include "ui/common/RejectedCharacter.h"

#include "core/Windows1252.h"

std::optional<RejectedCharacter> firstRejectedCharacter(const QString& text) {
    int line = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\n') {
            ++line;
            continue;
        }
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!Windows1252::encode(character))
            return RejectedCharacter{character, line};
    }
    return std::nullopt;
}

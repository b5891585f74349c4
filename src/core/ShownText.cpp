#include "core/ShownText.h"

#include "core/Windows1252.h"

namespace ShownText {

QString quoted(const QByteArray& text) {
    QString shown = QStringLiteral("«");
    for (const QChar ch : Windows1252::decode(text)) {
        if (ch.category() == QChar::Other_Control)
            shown += QStringLiteral("⟨%1⟩").arg(ch.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            shown += ch;
    }
    return shown + QStringLiteral("»");
}

} // namespace ShownText

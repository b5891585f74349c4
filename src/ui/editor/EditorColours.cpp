#include "ui/editor/EditorColours.h"

namespace {

QColor blend(const QColor& from, const QColor& to, qreal amount) {
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * amount),
                            float(from.greenF() + (to.greenF() - from.greenF()) * amount),
                            float(from.blueF() + (to.blueF() - from.blueF()) * amount));
}

} // namespace

EditorColours::EditorColours(const QPalette& palette)
    : foreground(palette.color(QPalette::Text)), m_base(palette.color(QPalette::Base)) {
    address = blend(m_base, QColor(60, 120, 255), 0.28);
    text = blend(m_base, QColor(255, 190, 0), 0.38);
    remark = blend(foreground, m_base, 0.4);
    dimmed = blend(foreground, m_base, 0.45);
    problem = blend(m_base, QColor(235, 30, 30), 0.55);
    m_notice = blend(m_base, QColor(128, 128, 128), 0.35);
    m_warning = blend(m_base, QColor(255, 120, 0), 0.5);
}

QColor EditorColours::markBackground(LineReasons::Severity severity) const {
    switch (severity) {
    case LineReasons::Severity::Notice:
        return m_notice;
    case LineReasons::Severity::Warning:
        return m_warning;
    case LineReasons::Severity::Error:
        return problem;
    case LineReasons::Severity::None:
        break;
    }
    return m_base;
}

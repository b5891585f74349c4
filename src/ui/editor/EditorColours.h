#pragma once

#include "ui/editor/LineReasons.h"

#include <QColor>
#include <QPalette>

// The editor's field and mark colours, each a tint of the palette's own base
// and text colours, so that they stay legible on light and dark themes alike.
struct EditorColours {
    explicit EditorColours(const QPalette& palette);

    QColor address;
    QColor text;
    QColor remark;  // foreground
    QColor dimmed;  // foreground of lines that are not messages
    QColor problem; // background of a refused character or a tab
    QColor foreground;

    QColor markBackground(LineReasons::Severity severity) const;

  private:
    QColor m_base;
    QColor m_notice;
    QColor m_warning;
};

#pragma once

#include <QString>

#include <optional>

// The first character of a text that Windows-1252 cannot hold, as the
// operator sees it (a character outside the basic plane stays whole), and the
// line it stands on, counting lines from 1 at each '\n'.
struct RejectedCharacter {
    QString character;
    int line = 1;
};

std::optional<RejectedCharacter> firstRejectedCharacter(const QString& text);

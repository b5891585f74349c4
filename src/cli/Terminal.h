#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

// How tarvo-cli takes its arguments from the system and hands text to the
// console, a file or a pipe.

// The arguments as the system holds them: a file name on Linux stays
// byte-exact, on Windows it is the UTF-16 command line.
QStringList programArguments(int argc, char* argv[]);

// Whether stream writes to a terminal that a person watches, rather than to a
// file or a pipe.
bool isTerminal(std::FILE* stream);

// Writes text as it is to stream: UTF-8, with a terminal's control sequences
// (the progress line's "\033[K") understood by a Windows console too.
void writeText(std::FILE* stream, const QString& text);

#include "cli/Terminal.h"

#include "files/LocalFileName.h"

#include <unistd.h>

QStringList programArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments += LocalFileName::decode(argv[i]);
    return arguments;
}

bool isTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream));
}

void writeText(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
}

#include "cli/Terminal.h"

#include <QCoreApplication>

#include <io.h>
#include <windows.h>

QStringList programArguments(int, char*[]) {
    return QCoreApplication::arguments();
}

bool isTerminal(std::FILE* stream) {
    return ::_isatty(::_fileno(stream));
}

// A console takes UTF-16 whatever its code page, and control sequences once
// asked to (Windows 10 and later); files and pipes get UTF-8, as on Linux.
void writeText(std::FILE* stream, const QString& text) {
    const HANDLE console = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || !::GetConsoleMode(console, &mode)) {
        std::fputs(text.toUtf8().constData(), stream);
        return;
    }
    std::fflush(stream);
    ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    DWORD written = 0;
    ::WriteConsoleW(console, reinterpret_cast<const wchar_t*>(text.utf16()), DWORD(text.size()),
                    &written, nullptr);
}

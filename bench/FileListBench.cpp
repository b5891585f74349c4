#include "FileListBench.h"

#include "core/Variabili.h"
#include "serial/SerialExchange.h"
#include "ui/FormScriveMessaggi.h"
#include "ui/common/FileList.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int messageFiles = 20000;
constexpr int openings = 3;
constexpr int changes = 10;
// How long the events that a change sets off are given to run after the file
// list shows it: the folder list's refresh and any delayed layout.
constexpr int settleMs = 150;

// CPU time of the whole process, every thread, in milliseconds.
double cpuMs() {
    return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

void runEventsFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, int(ms - clock.elapsed()));
}

// The CPU that change and the events it sets off cost, until the file list
// shows rows other than before and the events have settled.
double cpuOfChange(const FileList& list, const std::function<void()>& change) {
    const int before = list.model()->rowCount();
    const double start = cpuMs();
    change();
    QElapsedTimer clock;
    clock.start();
    while (list.model()->rowCount() == before && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    runEventsFor(settleMs);
    return cpuMs() - start;
}

void printFigures(const char* name, std::vector<double> figures) {
    std::sort(figures.begin(), figures.end());
    std::printf("  %-34s CPU median %7.1f ms, max %7.1f ms (n %zu)\n", name,
                figures[figures.size() / 2], figures.back(), figures.size());
}

void touch(const QString& path) {
    QFile(path).open(QIODevice::WriteOnly);
}

} // namespace

// The main window opened in a folder of 20,000 message files among 40,000
// entries, as the operator starting the program there sees it; then files
// created and removed there by another program while it shows the folder.
void benchFileList() {
    QTemporaryDir folder;
    for (int i = 0; i < messageFiles; ++i) {
        touch(folder.filePath(QStringLiteral("testi%1.tvo").arg(i)));
        touch(folder.filePath(QStringLiteral("altro%1.txt").arg(i)));
    }
    const QString started = QDir::currentPath();
    QDir::setCurrent(folder.path());
    Variabili v;
    SerialExchange exchange(v);
    std::vector<double> opening;
    for (int round = 0; round < openings; ++round) {
        const double start = cpuMs();
        FormScriveMessaggi window(v, exchange);
        window.show();
        runEventsFor(settleMs);
        opening.push_back(cpuMs() - start);
    }

    FormScriveMessaggi window(v, exchange);
    window.show();
    runEventsFor(settleMs);
    const auto* list = window.findChild<FileList*>(QStringLiteral("File1"));
    std::vector<double> created;
    std::vector<double> removed;
    for (int i = 0; i < changes; ++i) {
        const QString path = folder.filePath(QStringLiteral("nuovo%1.tvo").arg(i));
        created.push_back(cpuOfChange(*list, [&] { touch(path); }));
        removed.push_back(cpuOfChange(*list, [&] { QFile::remove(path); }));
    }
    QDir::setCurrent(started);

    std::printf("main window in a folder of %d message files among %d entries:\n",
                list->model()->rowCount(), 2 * messageFiles);
    printFigures("opening the window", opening);
    printFigures("a file created there", created);
    printFigures("a file removed there", removed);
    std::fflush(stdout);
}

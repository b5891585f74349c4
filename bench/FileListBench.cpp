#include "FileListBench.h"

#include "app/ProgramWindows.h"
#include "core/Variabili.h"
#include "serial/SerialExchange.h"
#include "ui/common/FileList.h"
#include "ui/main/FormScriveMessaggi.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

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

// Runs events for ms milliseconds, or until stop() is called; blocked while
// none is pending, so that waiting costs no CPU.
void runEvents(int ms, const std::function<void(const std::function<void()>& stop)>& arm = {}) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (arm)
        arm([&loop] { loop.quit(); });
    loop.exec();
}

// The CPU that change and the events it sets off cost, until the file list
// shows it and the events have settled.
double cpuOfChange(const FileList& list, const std::function<void()>& change) {
    const double start = cpuMs();
    change();
    QMetaObject::Connection inserted;
    QMetaObject::Connection removed;
    runEvents(5000, [&](const std::function<void()>& stop) {
        inserted = QObject::connect(list.model(), &QAbstractItemModel::rowsInserted, stop);
        removed = QObject::connect(list.model(), &QAbstractItemModel::rowsRemoved, stop);
    });
    QObject::disconnect(inserted);
    QObject::disconnect(removed);
    runEvents(settleMs);
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
        FormScriveMessaggi window(v, exchange, programWindows(v));
        window.show();
        runEvents(settleMs);
        opening.push_back(cpuMs() - start);
    }

    FormScriveMessaggi window(v, exchange, programWindows(v));
    window.show();
    runEvents(settleMs);
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

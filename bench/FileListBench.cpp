#include "FileListBench.h"

#include "ui/common/FileList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int messageFiles = 20000;
constexpr int rounds = 5;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

void benchFileList() {
    QTemporaryDir folder;
    for (int i = 0; i < messageFiles; ++i) {
        QFile(folder.filePath(QStringLiteral("testi%1.tvo").arg(i))).open(QIODevice::WriteOnly);
        QFile(folder.filePath(QStringLiteral("altro%1.txt").arg(i))).open(QIODevice::WriteOnly);
    }
    FileList list;
    std::vector<double> showing;
    std::vector<double> refilling;
    for (int round = 0; round < rounds; ++round) {
        list.setPath(QCoreApplication::applicationDirPath());
        QElapsedTimer clock;
        clock.start();
        list.setPath(folder.path());
        showing.push_back(double(clock.nsecsElapsed()) / 1e6);

        const int before = list.model()->rowCount();
        clock.restart();
        QFile(folder.filePath(QStringLiteral("nuovo%1.tvo").arg(round))).open(QIODevice::WriteOnly);
        while (list.model()->rowCount() == before && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        refilling.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("file list, %d message files among %d entries:\n", list.model()->rowCount(),
                2 * messageFiles + rounds);
    std::printf("  showing the folder: median %.1f ms\n", median(showing));
    std::printf("  a file created behind its back shown after: median %.1f ms\n",
                median(refilling));
    std::fflush(stdout);
}

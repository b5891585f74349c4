#include "CopyListBench.h"

#include "files/UnitCopies.h"
#include "ui/copies/UnitCopiesWindow.h"

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

constexpr int copies = 5000;
constexpr int runs = 5;

// A copy as the program writes one: the comment, 512 texts, "end".
QByteArray copyContent(const QDateTime& when) {
    QByteArray content = "Copia dell'unit\xe0 &C1 dalla porta 1, " +
                         when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")).toLatin1() + "\r\n";
    for (int address = 0; address < 512; ++address)
        content += QByteArray::number(address).rightJustified(3, '0') + "TESTO           *\r\n";
    return content + "\r\nend\r\n";
}

void measure(const char* name, const std::function<void()>& work) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        const std::clock_t start = std::clock();
        timer.start();
        work();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(double(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("  %-30s wall median %7.1f ms, max %7.1f ms; CPU median %7.1f ms (n %d)\n", name,
                wall[runs / 2], wall.back(), cpu[runs / 2], runs);
}

} // namespace

void benchCopyList() {
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QDir().mkpath(UnitCopies::folder());
    const QDateTime first(QDate(2026, 1, 1), QTime(8, 0));
    for (int copy = 0; copy < copies; ++copy) {
        const QDateTime when = first.addSecs(copy * 3600 / 7);
        const UnitCopies::NewCopy made = UnitCopies::newCopy("&C1", when);
        QFile file(made.file.path());
        if (!file.open(QIODevice::WriteOnly) || file.write(copyContent(when)) < 0)
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
    }
    std::printf("copies: listing %d copies of 512 texts (%s)\n", copies,
                qPrintable(UnitCopies::folder()));
    qsizetype listed = 0;
    measure("UnitCopies::list", [&] { listed = UnitCopies::list().size(); });
    measure("newest of &C1 (ripristina)", [] { UnitCopies::newestOf("&C1"); });
    UnitCopiesWindow window({});
    measure("window refresh", [&] { window.refresh(); });
    std::printf("  listed %lld\n", static_cast<long long>(listed));
}

// Times the after-highest search for a free screenshot number in a folder of
// 5,000 numbered files: one AutoFileIn call (one folder listing) next to the
// plain rule of testing every candidate name from 1 to 10,000, on the same
// folder in the same run. Prints the median of several rounds of each.
//
// Usage: bench_numbered_files [folder]   (a temporary folder by default; the
// page cache is warm after the first round, as it is for a program at work)

#include "BenchMedian.h"
#include "services/OrvPath.h"
#include "services/TOrvNumberMask.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int FileCount = 5000;
constexpr int Rounds = 15;

template <typename TCall>
double TimeMs(TCall ACall)
{
    QElapsedTimer timer;
    timer.start();
    ACall();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }

    const QString mask = QStringLiteral("trip_%.4d.png");
    const TOrvNumberMask parsed(mask);
    for (int n = 1; n <= FileCount; ++n) {
        QFile file(QDir(folder).filePath(parsed.Format(n)));
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }

    QString listed;
    int probed = 0;
    std::vector<double> listing;
    std::vector<double> probing;
    for (int round = 0; round < Rounds; ++round) {
        listing.push_back(TimeMs([&] { listed = AutoFileIn(folder, QString(), mask, pmNone, true); }));
        probing.push_back(TimeMs([&] { probed = AutoFileIn_HighestInUse(folder, parsed, TOrvNumberScan::Probing); }));
    }
    const QString plain = QDir(folder).filePath(parsed.Format(probed + 1));

    std::printf("folder: %s, %d files %s .. %s\n", qPrintable(folder), FileCount, qPrintable(parsed.Format(1)),
                qPrintable(parsed.Format(FileCount)));
    std::printf("after-highest, one listing  (AutoFileIn):      %8.3f ms  -> %s\n", BenchMedian(listing),
                qPrintable(QFileInfo(listed).fileName()));
    std::printf("after-highest, 10,000 tests (plain rule):      %8.3f ms  -> %s\n", BenchMedian(probing),
                qPrintable(QFileInfo(plain).fileName()));
    std::printf("speed-up: %.1fx; median of %d rounds each; answers %s\n", BenchMedian(probing) / BenchMedian(listing), Rounds,
                listed == plain ? "identical" : "DIFFER");
    return listed == plain ? 0 : 1;
}

// quillon-bench-window: Generate in the window, end to end under the offscreen platform, against
// the core walk alone; and the window's memory. quillon-bench runs it when the window is built.
//   quillon-bench-window --runs N ROOT   prints medians: core and Generate, wall and processor ms,
//                                        the rows shown, and the wall ms until the first rows
//   quillon-bench-window --memory ROOT   prints the empty window's and the peak resident bytes

#include "benchsupport.h"

#include "app/dialogs.h"
#include "app/folderlist.h"
#include "app/mainwindow.h"
#include "grid/linkgrid.h"
#include "links/linktable.h"
#include "scan/hostfilesystem.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstring>
#include <memory>

using namespace quillon;
using namespace quillon::bench;

namespace {

// Answers nothing and counts what the window wanted to say.
class SilentDialogs final : public Dialogs {
public:
    int messages = 0;
    void showMessage(QWidget *, const QString &, const QString &, Icon) override { ++messages; }
    bool askYesNo(QWidget *, const QString &, const QString &) override
    {
        ++messages;
        return true;
    }
    std::optional<QString> askSaveFileName(QWidget *, const QString &, const QString &,
                                           const QString &) override
    {
        return std::nullopt;
    }
};

// Lets the window handle everything that is pending, and paints it.
void settle(QWidget &window)
{
    QApplication::processEvents();
    window.repaint();
    QApplication::processEvents();
}

// The rows the window's grid shows.
int shownRows(const QWidget &window)
{
    return window.findChild<LinkGrid *>(QStringLiteral("UltraGrid"))->model()->rowCount();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const bool memory = args.size() == 3 && args[1] == u"--memory";
    const int runs = args.size() == 4 && args[1] == u"--runs" ? args[2].toInt() : 0;
    if (!memory && runs < 1) {
        std::fprintf(stderr, "usage: quillon-bench-window --runs N ROOT | --memory ROOT\n");
        return 2;
    }
    const QString root = args.last();

    const HostFileSystem fs;
    SilentDialogs dialogs;
    MainWindow window(dialogs, WindowEnvironment::host(fs));
    window.show();
    auto *folders = window.findChild<FolderList *>(QStringLiteral("Dir1"));
    if (!folders || !folders->setPath(root)) {
        std::fprintf(stderr, "quillon-bench-window: cannot open %s\n", qUtf8Printable(root));
        return 1;
    }
    settle(window);

    // Generate as the button does it, until the walk on its worker has handed over the last
    // rows, and the window painted with the result; and when the first rows reached the grid.
    std::vector<double> firstRows;
    QElapsedTimer sinceGenerate;
    QObject::connect(window.findChild<LinkGrid *>(QStringLiteral("UltraGrid"))->model(),
                     &QAbstractItemModel::rowsInserted, &window,
                     [&](const QModelIndex &, int first) {
                         if (first == 0)
                             firstRows.push_back(double(sinceGenerate.nsecsElapsed()) / 1e6);
                     });
    const auto generate = [&] {
        sinceGenerate.start();
        window.generate();
        while (window.isWalking())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        settle(window);
    };

    if (memory) {
        const qint64 empty = statusBytes("VmRSS");
        generate();
        std::printf("%lld %lld %d\n", qlonglong(empty), qlonglong(statusBytes("VmHWM")),
                    shownRows(window));
        return dialogs.messages == 0 ? 0 : 1;
    }

    // The old table goes before each timed run, as it does for the core walk.
    std::unique_ptr<LinkTable> lastTable;
    const auto walk = [&] {
        auto table = std::make_unique<LinkTable>();
        coreWalk(root, *table);
        lastTable = std::move(table);
    };
    const auto forget = [&] {
        lastTable.reset();
        window.startOverInOpenFolder(); // binds a fresh, empty table
        settle(window);
    };
    forget();
    walk();
    forget();
    generate();
    std::vector<Timing> coreRuns, generateRuns;
    for (int i = 0; i < runs; ++i) {
        forget();
        if (i % 2 == 0) {
            coreRuns.push_back(timeOf(walk));
            forget();
            generateRuns.push_back(timeOf(generate));
        } else {
            generateRuns.push_back(timeOf(generate));
            forget();
            coreRuns.push_back(timeOf(walk));
        }
    }
    const Timing core = median(coreRuns);
    const Timing gen = median(generateRuns);
    std::printf("%.3f %.3f %.3f %.3f %d %.3f\n", core.wallMs, gen.wallMs, core.cpuMs, gen.cpuMs,
                shownRows(window), median(firstRows));
    return dialogs.messages == 0 ? 0 : 1;
}

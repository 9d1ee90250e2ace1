// quillon-treegen: writes a reproducible favorites tree for benchmarks and tests.

#include "treegen.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace quillon::bench;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillon-treegen"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a favorites tree of Internet shortcuts below ROOT. The same "
                       "options always give the same tree."));
    const QCommandLineOption shortcutsOption(QStringLiteral("shortcuts"),
                                             QStringLiteral("How many shortcuts (default 1000)."),
                                             QStringLiteral("N"), QStringLiteral("1000"));
    const QCommandLineOption foldersOption(
        QStringLiteral("folders"),
        QStringLiteral("How many sub-folders (default: one per 20 shortcuts)."),
        QStringLiteral("N"));
    const QCommandLineOption depthOption(QStringLiteral("depth"),
                                         QStringLiteral("Deepest folder level (default 4)."),
                                         QStringLiteral("N"), QStringLiteral("4"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Random seed (default 1)."),
                                        QStringLiteral("N"), QStringLiteral("1"));
    parser.addOptions({shortcutsOption, foldersOption, depthOption, seedOption});
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("ROOT"),
                                 QStringLiteral("The folder to fill; made when missing."));
    parser.process(app);

    const auto number = [&parser](const QCommandLineOption &option, qint64 &value) {
        bool ok = false;
        value = parser.value(option).toLongLong(&ok);
        return ok && value >= 0 && value <= 10'000'000;
    };
    qint64 shortcuts = 0, folders = 0, depth = 0, seed = 0;
    if (parser.positionalArguments().size() != 1 || !number(shortcutsOption, shortcuts) ||
        !number(depthOption, depth) || !number(seedOption, seed) ||
        (parser.isSet(foldersOption) && !number(foldersOption, folders))) {
        std::fputs(qUtf8Printable(parser.helpText()), stderr);
        return 2;
    }
    TreeShape shape;
    shape.shortcuts = int(shortcuts);
    shape.folders = parser.isSet(foldersOption) ? int(folders) : int(shortcuts / 20);
    shape.depth = int(depth);
    shape.seed = quint64(seed);

    const QString root = parser.positionalArguments().first();
    QString error;
    const TreePlan plan = planTree(shape);
    if (!QDir().mkpath(root) || !writeTree(root, plan, &error)) {
        std::fprintf(
            stderr, "quillon-treegen: %s\n",
            qUtf8Printable(error.isEmpty() ? QStringLiteral("cannot create ") + root : error));
        return 1;
    }
    std::printf("%zu folders, %d shortcuts, %lld bytes in %s\n", plan.folders.size(),
                plan.shortcutCount(), qlonglong(plan.byteCount()), qUtf8Printable(root));
    return 0;
}

#include "cli/linkcheckrun.h"

#include "check/archivelookup.h"
#include "check/linkchecker.h"
#include "links/foldergroups.h"
#include "links/linktable.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSaveFile>

#include <cstdio>

namespace quillon {

namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "quillon-export: %s\n", qUtf8Printable(text));
}

// The check's progress on the terminal, redrawn a few times a second.
class CheckProgressLine {
public:
    explicit CheckProgressLine(bool enabled)
        : m_enabled(enabled)
    {
        m_clock.start();
    }
    ~CheckProgressLine()
    {
        if (m_shown)
            std::fprintf(stderr, "\r\033[K");
    }

    void update(int checked, int total, int dead)
    {
        if (!m_enabled || (m_shown && m_clock.elapsed() < 200 && checked < total))
            return;
        m_clock.restart();
        std::fprintf(stderr, "\r\033[K%d/%d addresses checked, %d dead", checked, total, dead);
        std::fflush(stderr);
        m_shown = true;
    }

private:
    bool m_enabled;
    bool m_shown = false;
    QElapsedTimer m_clock;
};

LinkCheckSettings settingsFor(const LinkCheckOptions &options)
{
    LinkCheckSettings settings;
    settings.maxInFlight = options.jobs;
    settings.timeoutMs = options.timeoutMs;
    if (!options.archiveService.isEmpty())
        settings.archiveService = options.archiveService;
    return settings;
}

LinkCheckOutcome runChecker(const LinkTable &table, const LinkCheckSettings &settings,
                            bool terminal)
{
    LinkCheckOutcome outcome;
    QStringList addresses;
    QList<int> rowOfIndex;
    for (int row = 0; row < table.recordCount(); ++row) {
        if (!table.record(row).ticked)
            continue;
        addresses.append(table.record(row).address);
        rowOfIndex.append(row);
        outcome.rows.push_back({row, table.record(row).address, {}});
    }
    if (addresses.isEmpty())
        return outcome;
    LinkChecker checker(settings);
    CheckProgressLine progress(terminal);
    QEventLoop loop;
    QObject::connect(&checker, &LinkChecker::resultReady,
                     [&outcome](int index, const LinkCheckResult &result) {
                         outcome.rows[size_t(index)].result = result;
                     });
    QObject::connect(
        &checker, &LinkChecker::progress, &loop,
        [&progress](int checked, int total, int dead) { progress.update(checked, total, dead); });
    QObject::connect(&checker, &LinkChecker::finished, &loop, [&](bool unreachable) {
        outcome.networkSeemsUnreachable = unreachable;
        loop.quit();
    });
    checker.start(addresses);
    loop.exec();
    return outcome;
}

// Replaces dead rows' results by their archived copies where the archive has one.
int linkToArchivedCopies(const LinkTable &table, LinkCheckOutcome &outcome,
                         const LinkCheckSettings &settings)
{
    QList<ArchiveQuery> queries;
    for (size_t i = 0; i < outcome.rows.size(); ++i) {
        const CheckedRow &checked = outcome.rows[i];
        if (checked.result.status == LinkStatus::Dead)
            queries.append({int(i), checked.address, table.record(checked.row).modifiedAt});
    }
    if (queries.isEmpty())
        return 0;
    int linked = 0;
    QString lastProblem;
    ArchiveLookup lookup(settings);
    QEventLoop loop;
    QObject::connect(&lookup, &ArchiveLookup::answered, [&](int index, const ArchiveAnswer &a) {
        LinkCheckResult &result = outcome.rows[size_t(index)].result;
        if (a.snapshotAddress.isEmpty()) {
            result.reason += QStringLiteral("; ") + a.reason;
            if (!a.reason.isEmpty())
                lastProblem = a.reason;
            return;
        }
        result.status = LinkStatus::Archived;
        result.finalAddress = a.snapshotAddress;
        ++linked;
    });
    QObject::connect(&lookup, &ArchiveLookup::finished, &loop, &QEventLoop::quit);
    lookup.start(queries);
    loop.exec();
    say(QStringLiteral("%1 of %2 dead link(s) linked to archived copies")
            .arg(linked)
            .arg(queries.size()));
    return linked;
}

QString reportField(QString text)
{
    for (QChar &c : text)
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    return text;
}

} // namespace

LinkCheckOutcome checkTickedLinks(LinkTable &table, const LinkCheckOptions &options, bool terminal)
{
    const LinkCheckSettings settings = settingsFor(options);
    LinkCheckOutcome outcome = runChecker(table, settings, terminal);
    if (outcome.networkSeemsUnreachable)
        say(QStringLiteral("no host answered: the network seems unreachable, so no link counts "
                           "as dead"));
    int dead = 0;
    for (const CheckedRow &checked : outcome.rows)
        dead += checked.result.status == LinkStatus::Dead ? 1 : 0;
    say(QStringLiteral("checked %1 link(s): %2 dead").arg(outcome.rows.size()).arg(dead));

    if (options.archiveDead)
        linkToArchivedCopies(table, outcome, settings);
    int moved = 0;
    int unticked = 0;
    for (const CheckedRow &checked : outcome.rows) {
        if (checked.result.status == LinkStatus::Archived ||
            (options.useNewAddresses && checked.result.status == LinkStatus::Moved)) {
            table.setAddress(checked.row, checked.result.finalAddress);
            moved += checked.result.status == LinkStatus::Moved ? 1 : 0;
        }
        if (options.untickDead && checked.result.status == LinkStatus::Dead) {
            table.setTicked(checked.row, false);
            ++unticked;
        }
    }
    if (options.useNewAddresses)
        say(QStringLiteral("%1 moved link(s) given their new address").arg(moved));
    if (options.untickDead)
        say(QStringLiteral("%1 dead link(s) left out").arg(unticked));
    return outcome;
}

QByteArray linkReport(const LinkTable &table, const LinkCheckOutcome &outcome)
{
    std::vector<QString> folderOfRow(size_t(table.recordCount()));
    for (const FolderGroup &group : folderGroups(table))
        for (int row = group.firstRow; row < group.endRow; ++row)
            folderOfRow[size_t(row)] = group.folderName;
    QString text = QStringLiteral("status\tcode\taddress\tfinal\tfolder\tsite\n");
    for (const CheckedRow &checked : outcome.rows) {
        const LinkCheckResult &r = checked.result;
        const QStringList fields{linkStatusWord(r.status),
                                 r.httpCode > 0 ? QString::number(r.httpCode) : QString(),
                                 checked.address,
                                 r.finalAddress,
                                 folderOfRow[size_t(checked.row)],
                                 table.record(checked.row).siteName};
        QStringList cleaned;
        for (const QString &field : fields)
            cleaned.append(reportField(field));
        text += cleaned.join(u'\t') + u'\n';
    }
    return text.toUtf8();
}

bool saveLinkReport(const QString &path, const QByteArray &report,
                    const std::function<bool()> &mayReplace, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(report) != report.size()) {
        *error =
            QStringLiteral("cannot write the link report \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    if (!mayReplace()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error =
            QStringLiteral("cannot write the link report \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace quillon

#include "app/linkcheckcommands.h"

#include "app/archivejob.h"
#include "app/dialogs.h"
#include "app/jobstrip.h"
#include "app/linkcheckjob.h"
#include "grid/linkgrid.h"
#include "grid/tickmenu.h"

#include <algorithm>

namespace quillon {

LinkCheckCommands::LinkCheckCommands(LinkGrid &grid, Dialogs &dialogs, JobStrip &strip,
                                     const BackgroundJob &walk, const LinkCheckSettings &settings,
                                     QWidget *window)
    : QObject(window)
    , m_grid(grid)
    , m_dialogs(dialogs)
    , m_walk(walk)
    , m_window(window)
    , m_check(new LinkCheckJob(settings, this))
    , m_archive(new ArchiveJob(settings, this))
{
    for (BackgroundJob *job :
         {static_cast<BackgroundJob *>(m_check), static_cast<BackgroundJob *>(m_archive)}) {
        strip.follow(job);
        connect(job, &BackgroundJob::started, this, [this] { Q_EMIT runningChanged(true); });
        connect(job, &BackgroundJob::finished, this, [this] { Q_EMIT runningChanged(false); });
    }
    LinkTableModel *model = m_grid.model();
    connect(m_check, &LinkCheckJob::resultFound, model, &LinkTableModel::setCheckResult);
    connect(m_check, &BackgroundJob::finished, this, [this](BackgroundJob::Outcome outcome) {
        checkEnded(outcome == BackgroundJob::Outcome::Completed);
    });
    connect(m_archive, &ArchiveJob::answered, this, [this](int row, const ArchiveAnswer &answer) {
        const LinkCheckResult *dead = m_grid.model()->statuses().result(row);
        if (!dead || dead->status != LinkStatus::Dead)
            return;
        if (answer.snapshotAddress.isEmpty()) {
            if (!answer.reason.isEmpty())
                m_archiveProblem = answer.reason;
            return;
        }
        LinkCheckResult archived = *dead;
        archived.status = LinkStatus::Archived;
        archived.finalAddress = answer.snapshotAddress;
        m_grid.model()->takeCheckedAddress(row, answer.snapshotAddress, archived);
        ++m_archiveLinked;
    });
    connect(m_archive, &BackgroundJob::finished, this, [this](BackgroundJob::Outcome outcome) {
        archiveEnded(outcome == BackgroundJob::Outcome::Completed);
    });
    // Results belong to the rows they came for: other rows must not take them.
    connect(model, &QAbstractItemModel::modelReset, this, &LinkCheckCommands::stopQuietly);

    TickMenu *menu = m_grid.menu();
    const auto add = [this, menu](const QString &text, const QString &name, const QString &tip,
                                  void (LinkCheckCommands::*slot)()) {
        QAction *action = menu->addAction(text);
        action->setObjectName(name);
        action->setToolTip(tip);
        action->setStatusTip(tip);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    menu->addSeparator();
    m_checkAction = add(tr("&Check Links"), QStringLiteral("checkLinksAction"),
                        tr("Asks each ticked link's site whether the page is still there"),
                        &LinkCheckCommands::checkTickedLinks);
    m_untickDeadAction = add(tr("Untick D&ead Links"), QStringLiteral("untickDeadLinksAction"),
                             tr("Unticks the ticked rows the check found dead"),
                             &LinkCheckCommands::untickDeadLinks);
    m_useNewAction = add(tr("Use &New Addresses"), QStringLiteral("useNewAddressesAction"),
                         tr("Gives moved rows the address their page moved to"),
                         &LinkCheckCommands::useNewAddresses);
    m_archiveAction =
        add(tr("&Link Dead Ones To Archived Copies"), QStringLiteral("archiveDeadLinksAction"),
            tr("Asks the Internet Archive for a copy of each dead page, from the favorite's "
               "date"),
            &LinkCheckCommands::linkDeadOnesToArchivedCopies);
    connect(menu, &QMenu::aboutToShow, this, &LinkCheckCommands::enableForWhatIsThere);
    enableForWhatIsThere();
}

bool LinkCheckCommands::isRunning() const
{
    return m_check->isRunning() || m_archive->isRunning();
}

void LinkCheckCommands::stopQuietly()
{
    if (!isRunning())
        return;
    m_quiet = true;
    m_check->stop();
    m_archive->stop();
}

void LinkCheckCommands::enableForWhatIsThere()
{
    const bool busy = isRunning() || m_walk.isRunning();
    const LinkTable *table = m_grid.model()->table();
    const bool anyTicked = table && std::any_of(table->records().begin(), table->records().end(),
                                                [](const LinkRecord &r) { return r.ticked; });
    m_checkAction->setEnabled(!busy && anyTicked);
    m_untickDeadAction->setEnabled(!rowsToUntick().isEmpty());
    m_useNewAction->setEnabled(!rowsToMove().isEmpty());
    m_archiveAction->setEnabled(!busy &&
                                !m_grid.model()->statuses().rowsWith(LinkStatus::Dead).isEmpty());
}

void LinkCheckCommands::say(const QString &text)
{
    m_dialogs.showMessage(m_window, text, QStringLiteral("Quillon"), Dialogs::Icon::None);
}

void LinkCheckCommands::checkTickedLinks()
{
    LinkTableModel *model = m_grid.model();
    const LinkTable *table = model->table();
    if (isRunning() || m_walk.isRunning() || !table)
        return;
    QList<int> rows;
    QStringList addresses;
    for (int row = 0; row < table->recordCount(); ++row) {
        if (table->record(row).ticked) {
            rows.append(row);
            addresses.append(table->record(row).address);
        }
    }
    if (rows.isEmpty()) {
        say(tr("No link is ticked: tick the links to check first."));
        return;
    }
    m_quiet = false;
    model->startCheck(rows);
    m_check->start(rows, addresses);
}

void LinkCheckCommands::checkEnded(bool completed)
{
    if (m_quiet)
        return;
    const QString counts = tr("%1 of %2 addresses checked, %3 dead.")
                               .arg(m_check->checked())
                               .arg(m_check->total())
                               .arg(m_check->dead());
    if (!completed) {
        say(tr("The check was stopped: %1 The results so far stay.").arg(counts));
    } else if (m_check->networkSeemedUnreachable()) {
        say(tr("No site answered: the network seems unreachable, so no link counts as dead. "
               "%1")
                .arg(counts));
    } else {
        say(counts);
    }
}

QList<int> LinkCheckCommands::rowsToUntick() const
{
    const LinkTable *table = m_grid.model()->table();
    QList<int> rows;
    if (!table)
        return rows;
    for (const int row : m_grid.model()->statuses().rowsWith(LinkStatus::Dead)) {
        if (row < table->recordCount() && table->record(row).ticked)
            rows.append(row);
    }
    return rows;
}

void LinkCheckCommands::untickDeadLinks()
{
    const QList<int> rows = rowsToUntick();
    m_grid.model()->toggleTicks(rows); // every one is ticked: toggling unticks them all
    say(tr("%n row(s) unticked.", nullptr, int(rows.size())));
}

QList<int> LinkCheckCommands::rowsToMove() const
{
    const LinkTableModel *model = m_grid.model();
    const LinkTable *table = model->table();
    QList<int> rows;
    if (!table)
        return rows;
    for (const int row : model->statuses().rowsWith(LinkStatus::Moved)) {
        const QString &to = model->statuses().result(row)->finalAddress;
        if (row < table->recordCount() && !to.isEmpty() && to != table->record(row).address)
            rows.append(row);
    }
    return rows;
}

void LinkCheckCommands::useNewAddresses()
{
    LinkTableModel *model = m_grid.model();
    const QList<int> rows = rowsToMove();
    for (const int row : rows) {
        const LinkCheckResult moved = *model->statuses().result(row);
        model->takeCheckedAddress(row, moved.finalAddress, moved);
    }
    say(tr("%n row(s) given their new address.", nullptr, int(rows.size())));
}

void LinkCheckCommands::linkDeadOnesToArchivedCopies()
{
    const LinkTable *table = m_grid.model()->table();
    if (isRunning() || m_walk.isRunning() || !table)
        return;
    QList<ArchiveQuery> queries;
    for (const int row : m_grid.model()->statuses().rowsWith(LinkStatus::Dead)) {
        if (row < table->recordCount())
            queries.append({row, table->record(row).address, table->record(row).modifiedAt});
    }
    if (queries.isEmpty()) {
        say(tr("No link was found dead."));
        return;
    }
    m_quiet = false;
    m_archiveAsked = int(queries.size());
    m_archiveLinked = 0;
    m_archiveProblem.clear();
    m_archive->start(queries);
}

void LinkCheckCommands::archiveEnded(bool completed)
{
    if (m_quiet)
        return;
    QString text = tr("%1 of %2 dead links now lead to archived copies.")
                       .arg(m_archiveLinked)
                       .arg(m_archiveAsked);
    if (!completed)
        text = tr("The archive's queries were stopped: %1").arg(text);
    else if (m_archiveLinked < m_archiveAsked && !m_archiveProblem.isEmpty())
        text += u'\n' + tr("The archive said: %1").arg(m_archiveProblem);
    say(text);
}

} // namespace quillon

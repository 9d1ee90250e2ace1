#pragma once

#include "check/checkrequest.h"

#include <QObject>

class QAction;
class QWidget;

namespace quillon {

class ArchiveJob;
class BackgroundJob;
class Dialogs;
class JobStrip;
class LinkCheckJob;
class LinkGrid;

// The link check's commands in the grid's menu: Check Links checks the ticked rows, Untick
// Dead Links, Use New Addresses (for moved rows) and Link Dead Ones To Archived Copies act on
// what it found. The check and the archive's queries run as jobs in the window's strip, one
// at a time and never during the walk; each command says what it did. Nothing goes out on
// the network but by these commands.
class LinkCheckCommands : public QObject {
    Q_OBJECT
public:
    // Adds the commands to the grid's menu; the jobs are shown in strip. The window is the
    // parent of what the commands say, and walk the job that must not run meanwhile.
    LinkCheckCommands(LinkGrid &grid, Dialogs &dialogs, JobStrip &strip, const BackgroundJob &walk,
                      const LinkCheckSettings &settings, QWidget *window);

    bool isRunning() const;
    // Stops a running job without a word: the window is closing.
    void stopQuietly();

Q_SIGNALS:
    // A check or the archive's queries started (true) or ended (false).
    void runningChanged(bool running);

public Q_SLOTS:
    void checkTickedLinks();
    void untickDeadLinks();
    void useNewAddresses();
    void linkDeadOnesToArchivedCopies();

private:
    void enableForWhatIsThere();
    void checkEnded(bool completed);
    void archiveEnded(bool completed);
    QList<int> rowsToUntick() const;
    QList<int> rowsToMove() const;
    void say(const QString &text);

    LinkGrid &m_grid;
    Dialogs &m_dialogs;
    const BackgroundJob &m_walk;
    QWidget *m_window;
    LinkCheckJob *m_check;
    ArchiveJob *m_archive;
    QAction *m_checkAction = nullptr;
    QAction *m_untickDeadAction = nullptr;
    QAction *m_useNewAction = nullptr;
    QAction *m_archiveAction = nullptr;
    int m_archiveAsked = 0;
    int m_archiveLinked = 0;
    QString m_archiveProblem;
    bool m_quiet = false;
};

} // namespace quillon

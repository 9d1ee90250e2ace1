#include "app/jobstrip.h"

#include "app/backgroundjob.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace quillon {

JobStrip::JobStrip(QWidget *parent)
    : QWidget(parent)
    , m_summary(new QLabel(this))
    , m_bar(new QProgressBar(this))
    , m_stop(new QPushButton(tr("Stop"), this))
{
    setObjectName(QStringLiteral("jobStrip"));
    m_summary->setObjectName(QStringLiteral("jobSummary"));
    m_bar->setObjectName(QStringLiteral("jobProgress"));
    m_bar->setTextVisible(false);
    m_stop->setObjectName(QStringLiteral("cmdStop"));
    m_stop->setAutoDefault(false);
    m_stop->setShortcut(Qt::Key_Escape);
    m_stop->setToolTip(tr("Stops the work; what it found so far stays (Esc)"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->addWidget(m_summary, 1);
    layout->addWidget(m_bar, 1);
    layout->addWidget(m_stop);
    hide();
}

void JobStrip::follow(BackgroundJob *job)
{
    connect(job, &BackgroundJob::started, this, [this, job] {
        m_job = job;
        showProgress(QString(), 0, 0);
        m_stop->setEnabled(true);
        show();
    });
    connect(job, &BackgroundJob::progressed, this,
            [this, job](const QString &summary, qint64 done, qint64 total) {
                if (m_job == job)
                    showProgress(summary, done, total);
            });
    connect(job, &BackgroundJob::finished, this, [this, job] {
        if (m_job != job)
            return;
        m_job = nullptr;
        hide();
    });
    connect(m_stop, &QPushButton::clicked, job, [this, job] {
        if (m_job != job)
            return;
        job->stop();
        // Pressed once is enough; the strip stays until the work has returned.
        m_stop->setEnabled(false);
    });
}

void JobStrip::showProgress(const QString &summary, qint64 done, qint64 total)
{
    m_summary->setText(summary);
    // Without a total the bar only says that work goes on.
    m_bar->setRange(0, total > 0 ? 1000 : 0);
    if (total > 0)
        m_bar->setValue(int(std::min<qint64>(done, total) * 1000 / total));
}

} // namespace quillon

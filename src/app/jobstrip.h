#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quillon {

class BackgroundJob;

// What a running job has done so far, with the Stop control (cmdStop; Esc presses it). Shown
// only while a job it follows runs.
class JobStrip : public QWidget {
    Q_OBJECT
public:
    explicit JobStrip(QWidget *parent = nullptr);

    // Shows this job whenever it runs, and stops it on Stop.
    void follow(BackgroundJob *job);

private:
    void showProgress(const QString &summary, qint64 done, qint64 total);

    QLabel *m_summary;
    QProgressBar *m_bar;
    QPushButton *m_stop;
    BackgroundJob *m_job = nullptr;
};

} // namespace quillon

#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QUrl>

#include <optional>

namespace quillon {

// What --check-links and the options that go with it ask for.
struct LinkCheckOptions {
    std::optional<QString> reportPath;
    bool untickDead = false;
    bool useNewAddresses = false;
    bool archiveDead = false;
    int jobs = 64;
    int timeoutMs = 15000;
    QUrl archiveService; // empty: the Internet Archive's own
};

// The link check's part of the command line.
class LinkCheckCommandLine {
public:
    LinkCheckCommandLine();
    QList<QCommandLineOption> options() const;

    // The check asked for, none without --check-links; false, with what is wrong, when the
    // options are bad (another check option without --check-links, say).
    bool read(const QCommandLineParser &parser, std::optional<LinkCheckOptions> *check,
              QString *error) const;

private:
    QCommandLineOption m_check;
    QCommandLineOption m_report;
    QCommandLineOption m_untickDead;
    QCommandLineOption m_useNewAddresses;
    QCommandLineOption m_archiveDead;
    QCommandLineOption m_jobs;
    QCommandLineOption m_timeout;
    QCommandLineOption m_archiveService;
};

} // namespace quillon

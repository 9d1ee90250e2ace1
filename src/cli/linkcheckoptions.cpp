#include "cli/linkcheckoptions.h"

namespace quillon {

LinkCheckCommandLine::LinkCheckCommandLine()
    : m_check(QStringLiteral("check-links"),
              QStringLiteral("Check the ticked links over the network after every other "
                             "unticking rule (GET with a User-Agent naming Quillon; nothing is "
                             "sent without this option)."))
    , m_report(QStringLiteral("link-report"),
               QStringLiteral("Write what the check found to FILE, tab-separated: status, code, "
                              "address, final, folder, site."),
               QStringLiteral("FILE"))
    , m_untickDead(QStringLiteral("untick-dead"), QStringLiteral("Leave out the links found dead."))
    , m_useNewAddresses(QStringLiteral("use-new-addresses"),
                        QStringLiteral("Write moved links with their new address."))
    , m_archiveDead(QStringLiteral("archive-dead"),
                    QStringLiteral("Point dead links at the Internet Archive's copy nearest "
                                   "their date, where there is one (asks archive.org)."))
    , m_jobs(QStringLiteral("check-jobs"),
             QStringLiteral("Check at most N links at once (default 64)."), QStringLiteral("N"))
    , m_timeout(QStringLiteral("check-timeout"),
                QStringLiteral("Give up on a request after SECONDS (default 15)."),
                QStringLiteral("SECONDS"))
    , m_archiveService(QStringLiteral("archive-service"),
                       QStringLiteral("Ask URL instead of "
                                      "https://archive.org/wayback/available for copies."),
                       QStringLiteral("URL"))
{}

QList<QCommandLineOption> LinkCheckCommandLine::options() const
{
    return {m_check,       m_report, m_untickDead, m_useNewAddresses,
            m_archiveDead, m_jobs,   m_timeout,    m_archiveService};
}

bool LinkCheckCommandLine::read(const QCommandLineParser &parser,
                                std::optional<LinkCheckOptions> *check, QString *error) const
{
    if (!parser.isSet(m_check)) {
        for (const QCommandLineOption &option : options()) {
            if (parser.isSet(option)) {
                *error = QStringLiteral("--%1 needs --check-links").arg(option.names().first());
                return false;
            }
        }
        check->reset();
        return true;
    }
    LinkCheckOptions options;
    if (parser.isSet(m_report))
        options.reportPath = parser.value(m_report);
    options.untickDead = parser.isSet(m_untickDead);
    options.useNewAddresses = parser.isSet(m_useNewAddresses);
    options.archiveDead = parser.isSet(m_archiveDead);
    if (parser.isSet(m_jobs)) {
        bool isNumber = false;
        options.jobs = parser.value(m_jobs).toInt(&isNumber);
        if (!isNumber || options.jobs < 1 || options.jobs > 1000) {
            *error = QStringLiteral("--check-jobs takes a whole number from 1 to 1000");
            return false;
        }
    }
    if (parser.isSet(m_timeout)) {
        bool isNumber = false;
        const double seconds = parser.value(m_timeout).toDouble(&isNumber);
        if (!isNumber || !(seconds >= 0.1 && seconds <= 3600)) {
            *error = QStringLiteral("--check-timeout takes seconds from 0.1 to 3600");
            return false;
        }
        options.timeoutMs = int(seconds * 1000);
    }
    if (parser.isSet(m_archiveService)) {
        options.archiveService = QUrl(parser.value(m_archiveService), QUrl::StrictMode);
        const QString scheme = options.archiveService.scheme();
        if (!options.archiveService.isValid() || options.archiveService.host().isEmpty() ||
            (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
            *error = QStringLiteral("--archive-service takes an http: or https: address");
            return false;
        }
    }
    *check = options;
    return true;
}

} // namespace quillon

#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <QtNetwork/QNetworkReply>

namespace quillon {

// What a check found out about one address, in the order the decision tries them.
enum class LinkStatus { Skipped, Ok, Moved, Elsewhere, Blocked, Dead, Unsure, Archived };

// The word a report and the grid show for a status ("ok", "dead", ...); never translated.
QString linkStatusWord(LinkStatus status);

struct LinkCheckResult {
    LinkStatus status = LinkStatus::Skipped;
    int httpCode = 0;     // the last HTTP status, 0 when none came
    QString finalAddress; // the last address of the redirect chain, empty without redirects
    QString reason;       // why, in words, for a tooltip or a report
};

// How the last request of a chain ended when it brought no HTTP answer.
enum class RequestFailure { None, HostNotFound, TimedOut, Refused, Reset, Tls, BadRedirect, Other };

// The failure a Qt network error stands for. Errors that come with an HTTP status (content
// and protocol errors) are not failures: the status is judged instead.
RequestFailure failureFromNetworkError(QNetworkReply::NetworkError error);

// Everything a check saw of one address: each address it requested (the first is the one
// asked about), the status of each redirect between them, and how the last request ended.
struct CheckTrace {
    QList<QUrl> chain;
    QList<int> redirectCodes; // one fewer than chain
    int finalCode = 0;        // 0 when the last request failed
    RequestFailure failure = RequestFailure::None;
    QString failureText; // what the network layer or the redirect rule said
};

// The status of a finished trace. A host that does not exist is only dead when some other host
// of the same check answered: otherwise the network itself is likely down.
LinkCheckResult decideLinkStatus(const CheckTrace &trace, bool someHostAnswered);

// Whether an address is one the checker requests at all: http: or https: with a host.
bool isCheckableAddress(const QUrl &url);

} // namespace quillon

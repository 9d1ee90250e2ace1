// The written page as a real browser reads it: the links (address and text, in order) and the
// folder headings must be exactly those of the ticked records, whatever the names hold.

#include "favoritestree.h"
#include "isolatedchromium.h"
#include "links/linktable.h"
#include "output/linklistwriter.h"
#include "scan/favoriteswalk.h"
#include "scan/hostfilesystem.h"
#include "testmain.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

using namespace quillon;
using namespace Qt::StringLiterals;
using quillon::test::FavoritesTree;

namespace {

// The document as the browser built it, serialized; empty with whyNot set on failure.
QString dumpDom(const QString &page, QString *whyNot)
{
    QTemporaryDir profile;
    const quillon::test::ChromiumRun run = quillon::test::runIsolatedChromium(
        {QStringLiteral("--no-first-run"), QStringLiteral("--dump-dom"),
         QUrl::fromLocalFile(page).toString()},
        profile.path());
    const QString dom = QString::fromUtf8(run.output);
    *whyNot = run.whyNot;
    if (whyNot->isEmpty() && !dom.contains(QLatin1StringView("<body")))
        *whyNot = QStringLiteral("Chromium gave no document");
    return whyNot->isEmpty() ? dom : QString();
}

// Undoes the serializer's escapes; it writes every other character as it is.
QString unescapeSerialized(QString text)
{
    text.replace(QLatin1StringView("&quot;"), QLatin1StringView("\""));
    text.replace(QLatin1StringView("&lt;"), QLatin1StringView("<"));
    text.replace(QLatin1StringView("&gt;"), QLatin1StringView(">"));
    text.replace(QLatin1StringView("&nbsp;"), QStringLiteral("\u00a0"));
    text.replace(QLatin1StringView("&amp;"), QLatin1StringView("&"));
    return text;
}

// "H <heading>" and "A <address> | <text>" for each heading and link, in document order. The
// serializer escapes '<' in text and '"' in attribute values, so no value can end a match early.
QStringList linksAndHeadings(const QString &dom)
{
    static const QRegularExpression element(
        QStringLiteral("<a href=\"([^\"]*)\" target=\"_blank\">(.*?)</a>|<b>(.*?)</b>"),
        QRegularExpression::DotMatchesEverythingOption);
    QStringList seen;
    for (const QRegularExpressionMatch &match : element.globalMatch(dom)) {
        if (match.capturedLength(3) > 0 || match.captured(1).isNull())
            seen << u"H "_s + unescapeSerialized(match.captured(3));
        else
            seen << u"A "_s + unescapeSerialized(match.captured(1)) + u" | "_s +
                        unescapeSerialized(match.captured(2));
    }
    return seen;
}

} // namespace

class TestPageInBrowser : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void browserSeesExactlyTheTickedRecords();
};

void TestPageInBrowser::browserSeesExactlyTheTickedRecords()
{
    FavoritesTree tree;
    QVERIFY(tree.isValid());
    tree.addShortcut(u"1 <img src=x onerror=alert(1)>.url"_s,
                     u"http://a.example/?q=<b>&x='1'\"2\""_s);
    tree.addShortcut(u"2 Tom's \"caf\u00e9\" & <i>.url"_s,
                     u"https://b.example/caf\u00e9?a=1&amp;b=2"_s);
    tree.addShortcut(u"3 bookmarklet.url"_s, u"javascript:alert(document.cookie)"_s);
    tree.addShortcut(u"4 \U0001F600 &#39; &lt;.url"_s, u"http://c.example/\U0001F600#'x'"_s);
    tree.addShortcut(u"1 A&B <News>/1 first.url"_s, u"http://first.example/"_s);
    tree.addShortcut(u"1 A&B <News>/2 second.url"_s, u"http://d.example/'onmouseover='alert(1)"_s);
    tree.addShortcut(u"2 Unticked/x.url"_s, u"http://x.example/"_s);
    tree.addShortcut(u"3 Tab\tand\nline/1 x\ty\u0085.url"_s, u"http://e.example/\u00a0nbsp"_s);
    tree.addShortcut(u"3 Tab\tand\nline/</b>Inner/deep.url"_s, u"http://f.example/</a>"_s);

    LinkTable table;
    const QString start = tree.root() + u'/';
    walkFavorites(HostFileSystem(), start, start.size(), table);
    QCOMPARE(table.recordCount(), 9);
    for (int row = 0; row < table.recordCount(); ++row) {
        const QString site = table.record(row).siteName;
        if (site == u"1 first" || site == u"x")
            table.setTicked(row, false);
    }
    QTemporaryDir out;
    const QString page = out.filePath(u"links.html"_s);
    QString error;
    QVERIFY2(saveLinkList(page, table, OutputKind::Html, &error), qPrintable(error));

    QString whyNot;
    const QString dom = dumpDom(page, &whyNot);
    if (dom.isEmpty())
        QSKIP(qPrintable(u"Chromium cannot start: "_s + whyNot));

    const QStringList expected = {
        u"A http://a.example/?q=<b>&x='1'\"2\" | 1 <img src=x onerror=alert(1)>"_s,
        u"A https://b.example/caf\u00e9?a=1&amp;b=2 | 2 Tom's \"caf\u00e9\" & <i>"_s,
        // The bookmarklet started unticked.
        u"A http://c.example/\U0001F600#'x' | 4 \U0001F600 &#39; &lt;"_s,
        // The group's first link is unticked: the heading goes with the second.
        u"H 1 A&B <News>"_s,
        u"A http://d.example/'onmouseover='alert(1) | 2 second"_s,
        // Nothing ticked in "2 Unticked": no heading.
        u"H 3 Tab\tand\nline"_s,
        // No reference names U+0085 (a browser reads "&#133;" as an ellipsis): U+FFFD.
        u"A http://e.example/\u00a0nbsp | 1 x\ty\uFFFD"_s,
        u"H 3 Tab\tand\nline/</b>Inner"_s,
        u"A http://f.example/</a> | deep"_s,
    };
    QCOMPARE(linksAndHeadings(dom), expected);
}

QUILLON_TEST_MAIN(TestPageInBrowser)
#include "tst_pageinbrowser.moc"

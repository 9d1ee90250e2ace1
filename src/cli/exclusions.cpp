#include "cli/exclusions.h"

#include "links/foldergroups.h"
#include "links/linktable.h"
#include "scan/filenamecodec.h"

#include <QFile>

#include <algorithm>

namespace quillon {

namespace {

bool isInClass(QStringView name, char32_t c)
{
    if (name == u"alpha")
        return QChar::isLetter(c);
    if (name == u"digit")
        return c >= U'0' && c <= U'9';
    if (name == u"alnum")
        return QChar::isLetterOrNumber(c);
    if (name == u"upper")
        return QChar::isUpper(c);
    if (name == u"lower")
        return QChar::isLower(c);
    if (name == u"space")
        return QChar::isSpace(c);
    if (name == u"blank")
        return c == U' ' || c == U'\t';
    if (name == u"punct")
        return QChar::isPunct(c) || QChar::isSymbol(c);
    if (name == u"xdigit")
        return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'f') || (c >= U'A' && c <= U'F');
    if (name == u"cntrl")
        return c < 0x20 || (c >= 0x7F && c < 0xA0);
    if (name == u"print")
        return QChar::isPrint(c);
    if (name == u"graph")
        return QChar::isPrint(c) && !QChar::isSpace(c);
    return false;
}

// A bracket expression starting at pattern[at] == '['. Sets end past its closing ']' and
// returns whether c is in it; end stays at -1 when there is no closing ']', and the '[' is
// then an ordinary character.
bool classMatches(const std::u32string &pattern, size_t at, char32_t c, qsizetype &end)
{
    end = -1;
    size_t i = at + 1;
    const bool negated = i < pattern.size() && (pattern[i] == U'!' || pattern[i] == U'^');
    if (negated)
        ++i;
    bool found = false;
    bool first = true;
    while (i < pattern.size()) {
        char32_t low = pattern[i];
        if (low == U']' && !first) {
            end = qsizetype(i + 1);
            return found != negated;
        }
        first = false;
        if (low == U'[' && i + 1 < pattern.size() && pattern[i + 1] == U':') {
            const size_t close = pattern.find(U":]", i + 2);
            if (close != std::u32string::npos) {
                const QString name =
                    QString::fromUcs4(pattern.data() + i + 2, qsizetype(close - i - 2));
                found = found || isInClass(name, c);
                i = close + 2;
                continue;
            }
        }
        if (low == U'\\' && i + 1 < pattern.size())
            low = pattern[++i];
        ++i;
        char32_t high = low;
        if (i + 1 < pattern.size() && pattern[i] == U'-' && pattern[i + 1] != U']') {
            high = pattern[i + 1];
            if (high == U'\\' && i + 2 < pattern.size())
                high = pattern[++i + 1];
            i += 2;
        }
        found = found || (c >= low && c <= high);
    }
    return false;
}

} // namespace

// Hand-written: Qt 6.4's wildcard conversion never lets '*' cross a '/', and fnmatch() is
// missing on Windows and counts bytes, not characters, in the C locale.
bool wildcardMatches(QStringView pattern, QStringView text)
{
    const std::u32string p = pattern.toString().toStdU32String();
    const std::u32string t = text.toString().toStdU32String();
    // Greedy matching with one step back to the last '*': enough, as a later '*' can stand in
    // for any longer run an earlier one would have taken.
    size_t pi = 0;
    size_t ti = 0;
    size_t starP = std::u32string::npos;
    size_t starT = 0;
    while (ti < t.size()) {
        if (pi < p.size()) {
            const char32_t pc = p[pi];
            if (pc == U'*') {
                starP = pi++;
                starT = ti;
                continue;
            }
            if (pc == U'[') {
                qsizetype end;
                const bool in = classMatches(p, pi, t[ti], end);
                if (end >= 0) {
                    if (in) {
                        pi = size_t(end);
                        ++ti;
                        continue;
                    }
                } else if (t[ti] == U'[') {
                    ++pi;
                    ++ti;
                    continue;
                }
            } else if (pc == U'?') {
                ++pi;
                ++ti;
                continue;
            } else {
                const bool escaped = pc == U'\\' && pi + 1 < p.size();
                if (t[ti] == p[pi + (escaped ? 1 : 0)]) {
                    pi += escaped ? 2 : 1;
                    ++ti;
                    continue;
                }
            }
        }
        if (starP == std::u32string::npos)
            return false;
        pi = starP + 1;
        ti = ++starT;
    }
    while (pi < p.size() && p[pi] == U'*')
        ++pi;
    return pi == p.size();
}

std::optional<QStringList> readPatternFile(const QString &path, QString *errorText)
{
    if (!qtOpensExactly(path)) {
        *errorText =
            QStringLiteral("cannot read the pattern file \"%1\": its name is not UTF-8").arg(path);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *errorText =
            QStringLiteral("cannot read the pattern file \"%1\": %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *errorText =
            QStringLiteral("cannot read the pattern file \"%1\": %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QStringList patterns;
    for (QString line : QString::fromUtf8(bytes).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        patterns.append(line);
    }
    return patterns;
}

int untickMatching(LinkTable &table, const QStringList &patterns, QChar separator)
{
    if (patterns.isEmpty())
        return 0;
    int unticked = 0;
    for (const FolderGroup &group : folderGroups(table)) {
        const QString folder =
            group.folderName.isEmpty() ? QString() : group.folderName + separator;
        for (int row = group.firstRow; row < group.endRow; ++row) {
            const QString path = folder + table.record(row).siteName;
            const bool matches =
                std::any_of(patterns.begin(), patterns.end(),
                            [&](const QString &p) { return wildcardMatches(p, path); });
            if (matches && table.record(row).ticked) {
                table.setTicked(row, false);
                ++unticked;
            }
        }
    }
    return unticked;
}

} // namespace quillon

#include "cli/wildcardpattern.h"

#include <algorithm>

namespace quillon {

namespace {

using NamedClass = WildcardPattern::NamedClass;

// The code point at text[at] and how many UTF-16 units it takes. A surrogate without its
// partner stands for itself, so undecodable file name bytes stay apart.
std::pair<char32_t, qsizetype> codePointAt(QStringView text, qsizetype at)
{
    const char16_t unit = text[at].unicode();
    if (QChar::isHighSurrogate(unit) && at + 1 < text.size() &&
        QChar::isLowSurrogate(text[at + 1].unicode()))
        return {QChar::surrogateToUcs4(unit, text[at + 1].unicode()), 2};
    return {unit, 1};
}

std::vector<char32_t> codePoints(QStringView text)
{
    std::vector<char32_t> points;
    points.reserve(size_t(text.size()));
    for (qsizetype at = 0; at < text.size();) {
        const auto [c, length] = codePointAt(text, at);
        points.push_back(c);
        at += length;
    }
    return points;
}

NamedClass namedClass(const std::u32string_view name)
{
    static const std::pair<std::u32string_view, NamedClass> Names[] = {
        {U"alpha", NamedClass::Alpha},   {U"digit", NamedClass::Digit},
        {U"alnum", NamedClass::Alnum},   {U"upper", NamedClass::Upper},
        {U"lower", NamedClass::Lower},   {U"space", NamedClass::Space},
        {U"blank", NamedClass::Blank},   {U"punct", NamedClass::Punct},
        {U"xdigit", NamedClass::XDigit}, {U"cntrl", NamedClass::Cntrl},
        {U"print", NamedClass::Print},   {U"graph", NamedClass::Graph},
    };
    for (const auto &[text, named] : Names)
        if (text == name)
            return named;
    return NamedClass::Unknown;
}

bool isInClass(NamedClass named, char32_t c)
{
    switch (named) {
    case NamedClass::Alpha:
        return QChar::isLetter(c);
    case NamedClass::Digit:
        return c >= U'0' && c <= U'9';
    case NamedClass::Alnum:
        return QChar::isLetterOrNumber(c);
    case NamedClass::Upper:
        return QChar::isUpper(c);
    case NamedClass::Lower:
        return QChar::isLower(c);
    case NamedClass::Space:
        return QChar::isSpace(c);
    case NamedClass::Blank:
        return c == U' ' || c == U'\t';
    case NamedClass::Punct:
        return QChar::isPunct(c) || QChar::isSymbol(c);
    case NamedClass::XDigit:
        return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'f') || (c >= U'A' && c <= U'F');
    case NamedClass::Cntrl:
        return c < 0x20 || (c >= 0x7F && c < 0xA0);
    case NamedClass::Print:
        return QChar::isPrint(c);
    case NamedClass::Graph:
        return QChar::isPrint(c) && !QChar::isSpace(c);
    case NamedClass::Unknown:
        break;
    }
    return false;
}

// Reads bracket expressions. Each item inside one is a character, an escaped character, a
// range or a "[:name:]"; where a bracket closes is remembered per item start, so a pattern of
// many '[' that never close is still read in linear time.
class BracketReader {
public:
    explicit BracketReader(const std::vector<char32_t> &pattern)
        : m_p(pattern)
        , m_size(qsizetype(pattern.size()))
        , m_nameEnd(pattern.size() + 1, m_size)
        , m_closeFrom(pattern.size() + 1, Unknown)
    {
        // m_nameEnd[i]: the first ":]" at or after i, found in one pass from the back.
        for (qsizetype i = m_size - 2; i >= 0; --i)
            m_nameEnd[size_t(i)] =
                m_p[size_t(i)] == U':' && m_p[size_t(i + 1)] == U']' ? i : m_nameEnd[size_t(i + 1)];
    }

    // For a '[' at position at: the end of its bracket expression past the ']', or -1 when it
    // has none. Fills set when it has one.
    qsizetype read(qsizetype at, WildcardPattern::CharSet &set)
    {
        qsizetype first = at + 1;
        set.negated = first < m_size && (m_p[size_t(first)] == U'!' || m_p[size_t(first)] == U'^');
        if (set.negated)
            ++first;
        if (first >= m_size)
            return -1;
        // The first item may be a ']' and then stands for itself.
        const qsizetype end = closeFrom(itemEnd(first));
        if (end < 0)
            return -1;
        for (qsizetype item = first; item < end - 1; item = itemEnd(item))
            addItem(item, set);
        return end;
    }

private:
    static constexpr qsizetype Unknown = -2;

    char32_t at(qsizetype i) const { return m_p[size_t(i)]; }

    bool isNameAt(qsizetype i) const
    {
        return at(i) == U'[' && i + 1 < m_size && at(i + 1) == U':' && i + 2 <= m_size &&
               m_nameEnd[size_t(i + 2)] < m_size;
    }

    // Where the character (or escaped character) at i ends.
    qsizetype characterEnd(qsizetype i) const
    {
        return at(i) == U'\\' && i + 1 < m_size ? i + 2 : i + 1;
    }

    qsizetype itemEnd(qsizetype i) const
    {
        if (isNameAt(i))
            return m_nameEnd[size_t(i + 2)] + 2;
        const qsizetype low = characterEnd(i);
        if (low + 1 < m_size && at(low) == U'-' && at(low + 1) != U']')
            return characterEnd(low + 1);
        return low;
    }

    char32_t characterAt(qsizetype i) const { return characterEnd(i) == i + 2 ? at(i + 1) : at(i); }

    void addItem(qsizetype i, WildcardPattern::CharSet &set) const
    {
        if (isNameAt(i)) {
            const qsizetype nameEnd = m_nameEnd[size_t(i + 2)];
            set.named.push_back(
                namedClass(std::u32string_view(m_p.data() + i + 2, size_t(nameEnd - i - 2))));
            return;
        }
        const char32_t low = characterAt(i);
        const qsizetype lowEnd = characterEnd(i);
        const bool range = itemEnd(i) != lowEnd;
        set.ranges.emplace_back(low, range ? characterAt(lowEnd + 1) : low);
    }

    // The end past the ']' closing a bracket whose items go on at i, or -1.
    qsizetype closeFrom(qsizetype i)
    {
        std::vector<qsizetype> walked;
        while (i < m_size && m_closeFrom[size_t(i)] == Unknown && at(i) != U']') {
            walked.push_back(i);
            i = itemEnd(i);
        }
        qsizetype end = -1;
        if (i < m_size)
            end = at(i) == U']' ? i + 1 : m_closeFrom[size_t(i)];
        for (const qsizetype step : walked)
            m_closeFrom[size_t(step)] = end;
        return end;
    }

    const std::vector<char32_t> &m_p;
    const qsizetype m_size;
    std::vector<qsizetype> m_nameEnd;
    std::vector<qsizetype> m_closeFrom;
};

} // namespace

bool WildcardPattern::CharSet::contains(char32_t c) const
{
    const bool found =
        std::any_of(ranges.begin(), ranges.end(),
                    [c](const auto &range) { return c >= range.first && c <= range.second; }) ||
        std::any_of(named.begin(), named.end(),
                    [c](NamedClass name) { return isInClass(name, c); });
    return found != negated;
}

// Hand-written: Qt 6.4's wildcard conversion never lets '*' cross a '/', and fnmatch() is
// missing on Windows and counts bytes, not characters, in the C locale.
WildcardPattern::WildcardPattern(QStringView pattern)
{
    const std::vector<char32_t> p = codePoints(pattern);
    BracketReader brackets(p);
    const auto size = qsizetype(p.size());
    for (qsizetype i = 0; i < size;) {
        const char32_t c = p[size_t(i)];
        if (c == U'*') {
            if (m_tokens.empty() || m_tokens.back().kind != Kind::AnyRun)
                m_tokens.push_back({Kind::AnyRun, 0, 0});
            ++i;
        } else if (c == U'?') {
            m_tokens.push_back({Kind::AnyOne, 0, 0});
            ++i;
        } else if (c == U'[') {
            CharSet set;
            const qsizetype end = brackets.read(i, set);
            if (end < 0) {
                m_tokens.push_back({Kind::Literal, c, 0});
                ++i;
            } else {
                m_sets.push_back(std::move(set));
                m_tokens.push_back({Kind::OneOf, 0, m_sets.size() - 1});
                i = end;
            }
        } else if (c == U'\\' && i + 1 < size) {
            m_tokens.push_back({Kind::Literal, p[size_t(i + 1)], 0});
            i += 2;
        } else {
            m_tokens.push_back({Kind::Literal, c, 0});
            ++i;
        }
    }
}

bool WildcardPattern::matches(QStringView text) const
{
    // Greedy matching with one step back to the last '*': enough, as a later '*' can stand in
    // for any longer run an earlier one would have taken.
    constexpr size_t NoStar = size_t(-1);
    size_t pi = 0;
    size_t starP = NoStar;
    qsizetype ti = 0;
    qsizetype starT = 0;
    while (ti < text.size()) {
        const auto [c, length] = codePointAt(text, ti);
        if (pi < m_tokens.size()) {
            const Token &token = m_tokens[pi];
            if (token.kind == Kind::AnyRun) {
                starP = pi++;
                starT = ti;
                continue;
            }
            if (token.kind == Kind::AnyOne || (token.kind == Kind::Literal && token.literal == c) ||
                (token.kind == Kind::OneOf && m_sets[token.set].contains(c))) {
                ++pi;
                ti += length;
                continue;
            }
        }
        if (starP == NoStar)
            return false;
        pi = starP + 1;
        starT += codePointAt(text, starT).second;
        ti = starT;
    }
    while (pi < m_tokens.size() && m_tokens[pi].kind == Kind::AnyRun)
        ++pi;
    return pi == m_tokens.size();
}

bool wildcardMatches(QStringView pattern, QStringView text)
{
    return WildcardPattern(pattern).matches(text);
}

} // namespace quillon

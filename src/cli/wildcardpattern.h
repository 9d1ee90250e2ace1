#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace quillon {

// A shell wildcard pattern, read once and then matched against many paths. It matches a text
// as a whole, as fnmatch() does without FNM_PATHNAME or FNM_PERIOD: '*' matches any run of
// characters, the separator included, '?' one character, "[...]" one of a class (ranges,
// "[!...]" or "[^...]", "[:alpha:]" and the other POSIX classes), and a backslash takes the
// next character as it is. A '[' without its ']' is an ordinary character. Case counts.
// Characters are code points; a lone surrogate (a byte of a file name that is not UTF-8) is
// one too, and equals only itself.
class WildcardPattern {
public:
    enum class NamedClass {
        Alpha,
        Digit,
        Alnum,
        Upper,
        Lower,
        Space,
        Blank,
        Punct,
        XDigit,
        Cntrl,
        Print,
        Graph,
        Unknown // matches nothing
    };
    // The characters of one bracket expression.
    struct CharSet {
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
        std::vector<NamedClass> named;

        bool contains(char32_t c) const;
    };

    // Reads the pattern in time linear in its length.
    explicit WildcardPattern(QStringView pattern);

    // Time linear in the text's length times the length of what follows the last '*' tried,
    // so linear for ordinary patterns such as "Work*" or "*.example.org*"; no copy is made.
    bool matches(QStringView text) const;

private:
    enum class Kind { Literal, AnyOne, AnyRun, OneOf };
    struct Token {
        Kind kind;
        char32_t literal; // for Literal
        size_t set;       // for OneOf: index into m_sets
    };

    std::vector<Token> m_tokens;
    std::vector<CharSet> m_sets;
};

// For one-off checks; reads the pattern each time.
bool wildcardMatches(QStringView pattern, QStringView text);

} // namespace quillon

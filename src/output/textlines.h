#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

namespace quillon {

// The lines of a written list that are not blank, walked in place: each without its line end
// (LF or CR LF) and without the ASCII blanks around it. No list gives blank lines a meaning, so
// they are skipped in one quick pass. Nothing is kept per line, so memory does not grow with
// the number of lines.
class TextLines {
public:
    explicit TextLines(QByteArrayView text)
        : m_text(text)
    {}

    // Moves to the next line; false once there is none.
    bool next()
    {
        qsizetype from = m_next;
        for (; from < m_text.size() && isBlank(m_text[from]); ++from) {
            if (m_text[from] == '\n')
                ++m_number;
        }
        if (from >= m_text.size())
            return false;
        qsizetype end = m_text.indexOf('\n', from);
        if (end < 0)
            end = m_text.size();
        m_next = end + 1;
        m_lineStart = from;
        m_line = m_text.sliced(from, end - from).trimmed();
        ++m_number;
        return true;
    }

    QByteArrayView line() const { return m_line; }
    qsizetype number() const { return m_number; }
    // Where the line starts in the text.
    qsizetype lineStart() const { return m_lineStart; }

private:
    static bool isBlank(char c) { return c == '\n' || c == ' ' || c == '\r' || c == '\t'; }

    QByteArrayView m_text;
    QByteArrayView m_line;
    qsizetype m_lineStart = 0;
    qsizetype m_next = 0;
    qsizetype m_number = 0;
};

// UTF-8 to text, keeping a U+FEFF at the start (QString::fromUtf8 drops it as a byte-order
// mark, but in a value it is part of a name).
inline QString decodedUtf8(QByteArrayView utf8)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless |
                                                     QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

} // namespace quillon

#include "scan/filenamecodec.h"

#include "shortcuts/shortcutencodings.h"

#include <QFile>
#include <QStringDecoder>

namespace quillon {

namespace {

// The length of the valid UTF-8 sequence at the start of bytes, or 0 when there is none:
// no overlong forms, no surrogates, nothing above U+10FFFF.
qsizetype validUtf8Length(QByteArrayView bytes)
{
    const auto byte = [&bytes](qsizetype i) {
        return uchar(bytes[i]);
    };
    const auto continuation = [&](qsizetype i) {
        return i < bytes.size() && (byte(i) & 0xC0) == 0x80;
    };
    const uchar lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!continuation(1) || !continuation(2))
            return 0;
        const uchar second = byte(1);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0))
            return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3))
            return 0;
        const uchar second = byte(1);
        if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

constexpr char16_t EscapeBase = 0xDC00;

bool isEscapedByte(QStringView name, qsizetype i)
{
    const char16_t unit = name[i].unicode();
    return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF &&
           (i == 0 || !name[i - 1].isHighSurrogate());
}

bool hasEscapedBytes(QStringView name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isEscapedByte(name, i))
            return true;
    }
    return false;
}

// Valid UTF-8 as text. QString::fromUtf8 would drop a byte-order mark at the start of each run,
// and with it the bytes EF BB BF that are part of the name.
QString utf8Text(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

QString decodeFileName(QByteArrayView name)
{
    // Plain ASCII, nearly every name, is valid UTF-8 as it stands.
    uchar any = 0;
    for (const char c : name)
        any |= uchar(c);
    if (any < 0x80)
        return QString::fromLatin1(name);

    QString text;
    qsizetype runStart = 0; // start of the valid UTF-8 not yet decoded
    qsizetype i = 0;
    while (i < name.size()) {
        if (const qsizetype length = validUtf8Length(name.sliced(i)); length > 0) {
            i += length;
            continue;
        }
        text += utf8Text(name.sliced(runStart, i - runStart));
        text += QChar(char16_t(EscapeBase + uchar(name[i])));
        runStart = ++i;
    }
    text += utf8Text(name.sliced(runStart));
    return text;
}

QByteArray encodeFileName(QStringView name)
{
    // Without escaped bytes, nearly always, the name is plain UTF-8.
    if (!hasEscapedBytes(name))
        return name.toUtf8();

    QByteArray bytes;
    qsizetype runStart = 0; // start of the text not yet encoded
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!isEscapedByte(name, i))
            continue;
        bytes += name.sliced(runStart, i - runStart).toUtf8();
        bytes += char(name[i].unicode() - EscapeBase);
        runStart = i + 1;
    }
    bytes += name.sliced(runStart).toUtf8();
    return bytes;
}

QString shownFileName(QString name)
{
    if (hasEscapedBytes(name))
        return decodeWindows1252(encodeFileName(name));
    return name; // moved, not shared: the caller may change it without a copy
}

QString shownPath(QStringView path, QChar separator)
{
    if (!hasEscapedBytes(path))
        return path.toString();
    QString shown;
    qsizetype start = 0;
    for (;;) {
        qsizetype end = path.indexOf(separator, start);
        if (end < 0)
            end = path.size();
        shown += shownFileName(path.sliced(start, end - start).toString());
        if (end == path.size())
            return shown;
        shown += separator;
        start = end + 1;
    }
}

QStringList decodeArguments(int argc, const char *const *argv)
{
    QStringList arguments;
    arguments.reserve(argc);
    for (int i = 0; i < argc; ++i)
        arguments.append(decodeFileName(argv[i]));
    return arguments;
}

bool qtOpensExactly(QStringView path)
{
    return QFile::encodeName(path.toString()) == encodeFileName(path);
}

} // namespace quillon

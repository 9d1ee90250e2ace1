#include "treegen.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <array>

namespace quillon::bench {

namespace {

// SplitMix64: tiny, fast and the same on every compiler and library, unlike the standard
// distributions.
class Random {
public:
    explicit Random(quint64 seed)
        : m_state(seed)
    {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int bound) { return bound <= 1 ? 0 : int(next() % quint64(bound)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int chance) { return below(100) < chance; }
    template <typename T, size_t N> const T &pick(const std::array<T, N> &items)
    {
        return items[size_t(below(int(N)))];
    }

private:
    quint64 m_state;
};

const std::array<const char *, 32> Words = {
    "News",    "Travel", "Recipes",  "Work",    "Music",  "Photo",   "Science", "Sports",
    "Finance", "Tools",  "Docs",     "Games",   "Health", "Shop",    "Archive", "Projects",
    "Reading", "Video",  "Software", "Maps",    "Garden", "Weather", "Bank",    "School",
    "Forum",   "Blog",   "Wiki",     "Library", "Radio",  "Cinema",  "Q&A",     "Tom's"};

// Names in other scripts; one goes into about one name in twenty.
const std::array<const char16_t *, 10> ForeignWords = {
    u"Café",   u"Über uns", u"Łódź",   u"Ελληνικά",     u"Русский",
    u"日本語", u"Ñandú",    u"Straße", u"Crème brûlée", u"한국어"};

const std::array<const char *, 6> Domains = {".com", ".org", ".net", ".de", ".co.uk", ".info"};

QString makeName(Random &random, int words)
{
    QStringList parts;
    for (int i = 0; i < words; ++i)
        parts << QString::fromLatin1(random.pick(Words));
    if (random.percent(5))
        parts.insert(random.below(int(parts.size()) + 1),
                     QString::fromUtf16(random.pick(ForeignWords)));
    return parts.join(u' ');
}

// An address of 30 to 300 characters: scheme, host, path segments, sometimes a query.
QString makeAddress(Random &random)
{
    const int length = random.between(30, 300);
    QString host = QString::fromLatin1(random.pick(Words)).toLower();
    host.removeIf([](QChar c) { return !c.isLetter(); });
    QString address = QStringLiteral("%1://www.%2%3/")
                          .arg(random.percent(70) ? u"https" : u"http", host,
                               QLatin1StringView(random.pick(Domains)));
    static const char Alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789-_";
    const auto randomText = [&random](int size) {
        QString text;
        for (int i = 0; i < size; ++i)
            text += QLatin1Char(Alphabet[random.below(int(sizeof Alphabet) - 1)]);
        return text;
    };
    // Path segments, then now and then a query that runs to the end.
    bool inQuery = false;
    while (address.size() < length) {
        if (inQuery) {
            address +=
                u'&' + randomText(random.between(1, 6)) + u'=' + randomText(random.between(1, 12));
        } else if (random.percent(10)) {
            address +=
                u'?' + randomText(random.between(1, 6)) + u'=' + randomText(random.between(1, 12));
            inQuery = true;
        } else {
            address += randomText(random.between(3, 12)) + u'/';
        }
    }
    address.truncate(length);
    return address;
}

// Internet Explorer style (with a BASEURL line and the usual extras) or today's browsers'
// style (URL line only), with CR LF or LF line ends.
QByteArray makeShortcut(Random &random, const QString &address)
{
    const QByteArray url = address.toUtf8();
    const char *eol = random.percent(60) ? "\r\n" : "\n";
    QByteArray text;
    if (random.percent(55)) {
        const QByteArray host = url.left(url.indexOf('/', 8));
        text += QByteArray("[DEFAULT]") + eol;
        text += "BASEURL=" + url + eol;
        text += QByteArray("[InternetShortcut]") + eol;
        text += "URL=" + url + eol;
        text += QByteArray("IDList=") + eol;
        text += "IconFile=" + host + "/favicon.ico" + eol;
        text += QByteArray("IconIndex=1") + eol;
        text += QByteArray("[{000214A0-0000-0000-C000-000000000046}]") + eol;
        text += QByteArray("Prop3=19,11") + eol;
    } else {
        text += QByteArray("[InternetShortcut]") + eol;
        text += "URL=" + url + eol;
    }
    return text;
}

// A name not yet used in a folder, letter case aside (as on Windows).
QString uniqueName(QSet<QString> &taken, const QString &name, const QString &suffix)
{
    QString candidate = name + suffix;
    for (int n = 2; taken.contains(candidate.toUpper()); ++n)
        candidate = QStringLiteral("%1 %2%3").arg(name).arg(n).arg(suffix);
    taken.insert(candidate.toUpper());
    return candidate;
}

} // namespace

int TreePlan::shortcutCount() const
{
    int count = 0;
    for (const PlannedFile &file : files)
        count += file.address.isEmpty() ? 0 : 1;
    return count;
}

qint64 TreePlan::byteCount() const
{
    qint64 bytes = 0;
    for (const PlannedFile &file : files)
        bytes += file.content.size();
    return bytes;
}

TreePlan planTree(const TreeShape &shape)
{
    Random random(shape.seed);
    TreePlan plan;

    // Folder 0 is the root. Each new folder hangs below a random folder that is not yet at the
    // deepest level, which gives broad, shallow trees like real favorites.
    struct Folder {
        QString path;
        int level;
        QSet<QString> taken;
    };
    std::vector<Folder> folders{{QString(), 0, {}}};
    std::vector<int> open{0}; // folders that may still get sub-folders
    folders.reserve(size_t(shape.folders) + 1);
    for (int i = 0; i < shape.folders && shape.depth > 0; ++i) {
        Folder &parent = folders[size_t(open[size_t(random.below(int(open.size())))])];
        const QString name = uniqueName(parent.taken, makeName(random, random.between(1, 2)), {});
        const QString path = parent.path.isEmpty() ? name : parent.path + u'/' + name;
        const int level = parent.level + 1;
        folders.push_back({path, level, {}});
        plan.folders.push_back({path});
        if (level < shape.depth)
            open.push_back(int(folders.size()) - 1);
    }

    plan.files.reserve(size_t(shape.shortcuts) + folders.size() / 20);
    for (int i = 0; i < shape.shortcuts; ++i) {
        Folder &folder = folders[size_t(random.below(int(folders.size())))];
        const QString name = uniqueName(folder.taken, makeName(random, random.between(1, 4)),
                                        QStringLiteral(".url"));
        const QString address = makeAddress(random);
        plan.files.push_back({folder.path.isEmpty() ? name : folder.path + u'/' + name,
                              makeShortcut(random, address), address});
    }
    // Now and then a file that is no shortcut, as Windows leaves in favorites folders.
    for (Folder &folder : folders) {
        if (!random.percent(3))
            continue;
        const QString name =
            uniqueName(folder.taken, QStringLiteral("desktop"), QStringLiteral(".ini"));
        plan.files.push_back({folder.path.isEmpty() ? name : folder.path + u'/' + name,
                              "[.ShellClassInfo]\r\nIconResource=shell32.dll,4\r\n", QString()});
    }
    return plan;
}

bool writeTree(const QString &root, const TreePlan &plan, QString *errorText)
{
    const QDir dir(root);
    for (const PlannedFolder &folder : plan.folders) {
        if (!dir.mkpath(folder.path)) {
            if (errorText)
                *errorText = QStringLiteral("cannot create the folder \"%1\"").arg(folder.path);
            return false;
        }
    }
    for (const PlannedFile &planned : plan.files) {
        QFile file(dir.filePath(planned.path));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(planned.content) != planned.content.size()) {
            if (errorText)
                *errorText =
                    QStringLiteral("cannot write \"%1\": %2").arg(planned.path, file.errorString());
            return false;
        }
    }
    return true;
}

} // namespace quillon::bench

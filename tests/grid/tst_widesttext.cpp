#include "grid/widesttext.h"
#include "testmain.h"

#include <QRandomGenerator>

using namespace quillon;

class TestWidestText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findsWhatShapingEveryTextFinds_data();
    void findsWhatShapingEveryTextFinds();
};

void TestWidestText::findsWhatShapingEveryTextFinds_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("seed");
    for (const QString &family : {QStringLiteral("Verdana"), QStringLiteral("MS Sans Serif"),
                                  QStringLiteral("DejaVu Serif")})
        for (int seed : {1, 2, 3})
            QTest::newRow(qPrintable(family + QStringLiteral(", seed %1").arg(seed)))
                << family << seed;
}

void TestWidestText::findsWhatShapingEveryTextFinds()
{
    QFETCH(QString, family);
    QFETCH(int, seed);
    QFont font(family);
    font.setPointSizeF(9.75);
    const QFontMetricsF metrics(font);

    // Kerning pairs, ligatures, narrow and wide letters, and non-ASCII text, in random order.
    const QStringList pieces = {QStringLiteral("AV"),           QStringLiteral("To"),
                                QStringLiteral("fi"),           QStringLiteral("ffl"),
                                QStringLiteral("iiii"),         QStringLiteral("WMW"),
                                QStringLiteral("/?a=1&b="),     QStringLiteral("\u00e9\u00e8"),
                                QStringLiteral("\u4e2d\u6587"), QStringLiteral("\U0001F600")};
    QRandomGenerator random{quint32(seed)};
    QList<QString> texts;
    for (int i = 0; i < 1000; ++i) {
        QString text;
        const int parts = random.bounded(1, 30);
        for (int p = 0; p < parts; ++p)
            text += pieces[random.bounded(int(pieces.size()))];
        texts << text;
    }
    WidestText widest(font);
    qreal expected = 0;
    for (const QString &text : texts) {
        widest.add(text);
        expected = std::max(expected, metrics.horizontalAdvance(text));
    }

    // The hardest case for skipping a text by its estimate: it beats the widest so far by a hair.
    std::sort(texts.begin(), texts.end(), [&metrics](const QString &a, const QString &b) {
        return metrics.horizontalAdvance(a) < metrics.horizontalAdvance(b);
    });
    for (qsizetype i = 1; i < texts.size(); ++i) {
        WidestText pair(font);
        pair.add(texts[i - 1]);
        pair.add(texts[i]);
        QCOMPARE(pair.width(), metrics.horizontalAdvance(texts[i]));
    }
    QCOMPARE(widest.width(), expected);
}

QUILLON_TEST_MAIN(TestWidestText)
#include "tst_widesttext.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The README's and the guide's examples are what the program prints: each
// "$ dolgomer …" block is run and compared line by line, and each batch
// example of the README (a CSV block followed by the block of its result) is
// run as a file, in code page 1251 where the text says so. The home has the
// rates the program knows.
#include "calc/presets.h"
#include "programtest.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

namespace {

// A block of lines indented alike, with the text before it since the last block.
struct Block {
    QStringList lines;
    QString before;
};

QList<Block> blocks(const QString &text) {
    QList<Block> out;
    Block current;
    QString prose;
    for (const QString &line : text.split(u'\n')) {
        const bool code = line.startsWith(QStringLiteral("    ")) && !line.trimmed().isEmpty() &&
                          !line.trimmed().startsWith(u'-');
        if (code) {
            if (current.lines.isEmpty()) current.before = prose;
            current.lines << line.trimmed();
            continue;
        }
        if (!current.lines.isEmpty()) {
            out << current;
            current = {};
            prose.clear();
        }
        prose += line + u'\n';
    }
    if (!current.lines.isEmpty()) out << current;
    return out;
}

} // namespace

class TestReadme : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void examples_data();
    void examples();

private:
    QTemporaryDir home_;
};

void TestReadme::initTestCase() {
    QVERIFY(home_.isValid());
    QCOMPARE(runProgram(home_, {"--update-rates", "--offline"}).exitCode, 0);
}

void TestReadme::examples_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("input"); // a batch's CSV; empty: a report
    QTest::addColumn<bool>("cp1251");
    QTest::addColumn<QStringList>("expected");
    QFile file(QStringLiteral(DOLGOMER_SOURCE_DIR "/README.md"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<Block> all = blocks(QString::fromUtf8(file.readAll()));
    int reports = 0, batches = 0;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QStringList &lines = all[i].lines;
        if (lines.front().startsWith(QStringLiteral("$ dolgomer "))) {
            const QStringList args = lines.front().mid(11).split(u' ', Qt::SkipEmptyParts);
            QTest::newRow(qPrintable(QStringLiteral("report %1").arg(++reports)))
                << args << QStringList() << false << lines.mid(1);
            continue;
        }
        // A CSV block whose next block is its result: the same header and more.
        const QString header = lines.front();
        const QString next = i + 1 < all.size() ? all[i + 1].lines.front() : QString();
        if (next.size() <= header.size() || !next.startsWith(header) ||
            (next[header.size()] != u',' && next[header.size()] != u';'))
            continue;
        QTest::newRow(qPrintable(QStringLiteral("batch %1").arg(++batches)))
            << QStringList{"--batch", "claims.csv"} << lines
            << all[i].before.contains(QStringLiteral("1251")) << all[i + 1].lines;
        ++i;
    }
    QVERIFY(reports >= 4 && batches >= 2);
    // The guide's examples: a report as the window shows it, then the
    // command that gives the same.
    QFile guide(QStringLiteral(DOLGOMER_SOURCE_DIR "/resources/guide/guide.html"));
    QVERIFY(guide.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(guide.readAll());
    int examples = 0;
    static const QRegularExpression pre(QStringLiteral("<pre>(.*?)</pre>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    QStringList shown; // the block before
    for (auto it = pre.globalMatch(html); it.hasNext();) {
        QString text = it.next().captured(1);
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        const QStringList lines = text.split(u'\n');
        if (lines.size() == 1 && lines.front().startsWith(QStringLiteral("$ dolgomer ")))
            QTest::newRow(qPrintable(QStringLiteral("guide %1").arg(++examples)))
                << lines.front().mid(11).split(u' ', Qt::SkipEmptyParts) << QStringList() << false
                << shown;
        shown = lines;
    }
    QVERIFY(examples >= 10);
    // Every basis of the table is in the README's table and the guide's list.
    QFile readme(QStringLiteral(DOLGOMER_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString markdown = QString::fromUtf8(readme.readAll());
    for (const calc::Preset &p : calc::presets()) {
        const QString name = QString::fromLatin1(p.name);
        QVERIFY2(markdown.contains(QStringLiteral("| `%1` |").arg(name)), p.name);
        QVERIFY2(
            html.contains(QStringLiteral("<a name=\"basis-%1\"></a><code>%1</code>").arg(name)),
            p.name);
    }
}

void TestReadme::examples() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, input);
    QFETCH(bool, cp1251);
    QFETCH(QStringList, expected);
    if (!input.isEmpty()) {
        QFile csv(home_.filePath(QStringLiteral("claims.csv")));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        const QString text = input.join(u'\n') + u'\n';
        csv.write(cp1251 ? QStringEncoder("windows-1251")(text) : text.toUtf8());
    }
    const Run run = runProgram(home_, args);
    const QString out = cp1251 ? QStringDecoder("windows-1251")(run.outBytes) : run.out;
    QStringList got = out.split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
    QCOMPARE(got, expected);
}

QTEST_GUILESS_MAIN(TestReadme)
#include "tst_readme.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The program's input and output as streams: a pipe answered a row at a
// time, output that cannot be written, inputs that are no files.
#include "patience.h"
#include "programtest.h"
#include "storagetest.h"

#include <QTest>
#include <cerrno>
#include <cstring>

class TestStreams : public QObject {
    Q_OBJECT
private slots:
    void batchThroughAPipe();
    void quietRun();
    void outputThatCannotBeWritten_data();
    void outputThatCannotBeWritten();
};

// Rows fed through a pipe are answered as they come, long before the input
// ends; a quote that never closes in the stream costs its row alone.
void TestStreams::batchThroughAPipe() {
    QTemporaryDir home;
    QProcess p;
    prepareProgram(p, home);
    p.setArguments({"--batch", "-"});
    p.start();
    QVERIFY(p.waitForStarted());
    p.write("debt\n");
    QByteArray out;
    for (int row = 1; row <= 5; ++row) {
        p.write("100000\n");
        while (out.count('\n') < row + 1 && p.waitForReadyRead(kPatienceMs))
            out += p.readAllStandardOutput();
        QCOMPARE(out.count('\n'), row + 1);
    }
    p.write("1,\"open\n100000\n100000\n");
    p.closeWriteChannel();
    QVERIFY(p.waitForFinished(kPatienceMs));
    out += p.readAllStandardOutput();
    QCOMPARE(p.exitCode(), 1);
    const QList<QByteArray> rows = out.trimmed().split('\n');
    QCOMPARE(rows.size(), 9);
    QVERIFY2(rows[6].contains("кавычка"), rows[6].constData());
    QVERIFY(rows[7].contains("100024,31") && rows[8].contains("100024,31"));
}

// A normal run with a document and a stale table says only what the program
// means to say, each message a line of its own, with or without a session's
// runtime folder.
void TestStreams::quietRun() {
    const QTemporaryDir session;
    for (const QString &runtime : {QString(), session.path()}) {
        QTemporaryDir home;
        QProcess p;
        prepareProgram(p, home);
        QProcessEnvironment env = p.processEnvironment();
        if (runtime.isEmpty())
            env.remove("XDG_RUNTIME_DIR");
        else
            env.insert("XDG_RUNTIME_DIR", runtime);
        p.setProcessEnvironment(env);
        p.setArguments({"--report", "--periods", "--debt", "1000", "--from", "01.01.2024", "--to",
                        "01.02.2024", "--output", home.path() + "/claim.pdf"});
        p.start();
        QVERIFY(p.waitForFinished(kPatienceMs));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray err = p.readAllStandardError();
        QVERIFY2(err.endsWith('\n'), err.constData());
        for (const QByteArray &line : err.trimmed().split('\n'))
            QVERIFY2(line.startsWith("dolgomer: "), line.constData());
    }
}

void TestStreams::outputThatCannotBeWritten_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("report") << QStringList{"--report", "--debt", "1"};
    QTest::newRow("batch") << QStringList{"--batch", "claims.csv"};
    QTest::newRow("help") << QStringList{"--help"};
    QTest::newRow("version") << QStringList{"--version"};
}

// A full disk (here /dev/full) is never a success.
void TestStreams::outputThatCannotBeWritten() {
    QFETCH(QStringList, args);
    QTemporaryDir home;
    QFile claims(home.path() + "/claims.csv");
    QVERIFY(claims.open(QIODevice::WriteOnly));
    claims.write("debt\n100000\n");
    claims.close();
    QProcess p;
    prepareProgram(p, home);
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.setArguments(args);
    p.start();
    QVERIFY(p.waitForFinished(kPatienceMs));
    QCOMPARE(p.exitCode(), 2);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    // The system's reason in the program's language, whatever the locale.
    QVERIFY2(err.contains(QStringLiteral("не удается записать результат: нет места на диске")),
             qPrintable(err));
}

QTEST_GUILESS_MAIN(TestStreams)
#include "tst_streams.moc"

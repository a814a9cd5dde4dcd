#include "conversion/OutputName.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class tst_OutputName : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void derivesOutputPath_data();
    void derivesOutputPath();
    void placesOutputInFolder_data();
    void placesOutputInFolder();
};

void tst_OutputName::derivesOutputPath_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output"); // with the extension "txt"
    QTest::addColumn<QString>("keepingDots"); // the same, cut at the last dot; empty where the same

    QTest::newRow("IP address") << u"/logs/192.168.1.1.log"_s << u"/logs/192.txt"_s << u"/logs/192.168.1.1.txt"_s;
    QTest::newRow("date") << u"/logs/show-run.2024-05-01.log"_s << u"/logs/show-run.txt"_s << u"/logs/show-run.2024-05-01.txt"_s;
    QTest::newRow("leading dot") << u"/logs/.r1.log"_s << u"/logs/.txt"_s << u"/logs/.r1.txt"_s;
    QTest::newRow("leading dot only") << u"/logs/.r1"_s << u"/logs/.txt"_s << u"/logs/.r1.txt"_s;
    QTest::newRow("dots in folders only") << u"/my.logs/v1.2/r1"_s << u"/my.logs/v1.2/r1.txt"_s << QString();
    QTest::newRow("extension replaced") << u"/logs/r1.log"_s << u"/logs/r1.txt"_s << QString();
    QTest::newRow("no extension") << u"/logs/r1"_s << u"/logs/r1.txt"_s << QString();
    QTest::newRow("cut at the first dot of the name") << u"/logs/r1.log.bak"_s << u"/logs/r1.txt"_s << u"/logs/r1.log.txt"_s;
    QTest::newRow("dot in a folder name") << u"/my.logs/r1.log"_s << u"/my.logs/r1.txt"_s << QString();
    QTest::newRow("relative path") << u"./r1.log"_s << u"./r1.txt"_s << QString();
    QTest::newRow("hidden folder, name without dot") << u"/home/u/.cache/r1"_s << u"/home/u/.cache/r1.txt"_s << QString();
    QTest::newRow("empty") << QString() << u".txt"_s << QString();
    QTest::newRow("name only") << u"r1.log"_s << u"r1.txt"_s << QString();
    QTest::newRow("blanks and Japanese") << u"/ログ/機器 1.log"_s << u"/ログ/機器 1.txt"_s << QString();
    QTest::newRow("folder with a closing separator") << u"/my.logs/"_s << u"/my.logs/.txt"_s << QString();
}

void tst_OutputName::derivesOutputPath()
{
    QFETCH(QString, source);
    QFETCH(QString, output);
    QFETCH(QString, keepingDots);
    QCOMPARE(tarnwick::outputBase(source) + u".txt"_s, output);
    QCOMPARE(tarnwick::outputBase(source, true) + u".txt"_s, keepingDots.isEmpty() ? output : keepingDots);
    // Typed with its dot, or two, the extension names the same file.
    QCOMPARE((tarnwick::OutputNaming{false, u".txt"_s}.outputOf(source)), output);
    QCOMPARE((tarnwick::OutputNaming{true, u"..txt"_s}.outputOf(source)), keepingDots.isEmpty() ? output : keepingDots);
}

void tst_OutputName::placesOutputInFolder_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("tree"); // the folder the source was found in
    QTest::addColumn<QString>("output"); // in the output folder /out, with the extension "txt"

    QTest::newRow("log named itself") << u"/logs/r1.log"_s << QString() << u"/out/r1.txt"_s;
    QTest::newRow("log in the folder given") << u"/logs/r1.log"_s << u"/logs"_s << u"/out/r1.txt"_s;
    QTest::newRow("log in a subfolder") << u"/logs/2026/site a/r1.log"_s << u"/logs"_s << u"/out/2026/site a/r1.txt"_s;
    QTest::newRow("folder given with a closing separator") << u"/logs/sw/r1.log"_s << u"/logs/"_s << u"/out/sw/r1.txt"_s;
    QTest::newRow("no name yet") << QString() << QString() << u"/out/.txt"_s;
    QTest::newRow("dots in the subfolder") << u"/logs/v1.2/r1.log"_s << u"/logs"_s << u"/out/v1.2/r1.txt"_s;
}

void tst_OutputName::placesOutputInFolder()
{
    QFETCH(QString, source);
    QFETCH(QString, tree);
    QFETCH(QString, output);
    QCOMPARE(QDir::fromNativeSeparators(tarnwick::OutputNaming{false, u"txt"_s, u"/out"_s, tree}.outputOf(source)), output);
}

QTEST_APPLESS_MAIN(tst_OutputName)
#include "tst_outputname.moc"

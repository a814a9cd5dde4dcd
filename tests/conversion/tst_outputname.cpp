#include "conversion/OutputName.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class tst_OutputName : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void derivesOutputPath_data();
    void derivesOutputPath();
};

void tst_OutputName::derivesOutputPath_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output"); // with the extension "txt"

    QTest::newRow("extension replaced") << u"/logs/r1.log"_s << u"/logs/r1.txt"_s;
    QTest::newRow("no extension") << u"/logs/r1"_s << u"/logs/r1.txt"_s;
    QTest::newRow("cut at the first dot of the name") << u"/logs/r1.log.bak"_s << u"/logs/r1.txt"_s;
    QTest::newRow("dot in a folder name") << u"/my.logs/r1.log"_s << u"/my.logs/r1.txt"_s;
    QTest::newRow("relative path") << u"./r1.log"_s << u"./r1.txt"_s;
    QTest::newRow("hidden folder, name without dot") << u"/home/u/.cache/r1"_s << u"/home/u/.cache/r1.txt"_s;
    QTest::newRow("empty") << QString() << u".txt"_s;
    QTest::newRow("name only") << u"r1.log"_s << u"r1.txt"_s;
    QTest::newRow("blanks and Japanese") << u"/ログ/機器 1.log"_s << u"/ログ/機器 1.txt"_s;
    QTest::newRow("folder with a closing separator") << u"/my.logs/"_s << u"/my.logs/.txt"_s;
}

void tst_OutputName::derivesOutputPath()
{
    QFETCH(QString, source);
    QFETCH(QString, output);
    QCOMPARE(tarnwick::outputBase(source) + u".txt"_s, output);
}

QTEST_APPLESS_MAIN(tst_OutputName)
#include "tst_outputname.moc"

#include "batch/ArgumentText.h"
#include "batch/ProgramFiles.h"
#include "platform/TemporaryFile.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class tst_Startup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitsArgumentText_data();
    void splitsArgumentText();
    void joinsArgumentsIntoTokens_data();
    void joinsArgumentsIntoTokens();
    void namesTemporaryFile_data();
    void namesTemporaryFile();
    void placesProgramFiles_data();
    void placesProgramFiles();
    void closesFolder();
};

void tst_Startup::splitsArgumentText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("tokens");

    QTest::newRow("one path") << u"a.log"_s << QStringList{u"a.log"_s};
    QTest::newRow("two paths") << u"a.log b.log"_s << QStringList{u"a.log"_s, u"b.log"_s};
    QTest::newRow("two blanks") << u"a.log  b.log"_s << QStringList{u"a.log"_s, QString(), u"b.log"_s};
    QTest::newRow("quoted path") << u"\"my logs\\r1.log\""_s << QStringList{u"my logs\\r1.log"_s};
    QTest::newRow("quoted then plain") << u"\"my logs\\r1.log\" r2.log"_s << QStringList{u"my logs\\r1.log"_s, QString(), u"r2.log"_s};
    QTest::newRow("two quoted with blank") << u"\"a b.log\" \"c d.log\""_s << QStringList{u"a b.log"_s, QString(), u"c d.log"_s};
    QTest::newRow("two quoted together") << u"\"a b.log\"\"c d.log\""_s << QStringList{u"a b.log"_s, u"c d.log"_s};
    QTest::newRow("plain then quoted") << u"a.log \"b c.log\""_s << QStringList{u"a.log"_s, u"b c.log"_s};
    QTest::newRow("never closed") << u"\"a b.log"_s << QStringList{u"a b.log"_s};
    QTest::newRow("quotes inside a token") << u"ab\"cd ef\"gh"_s << QStringList{u"abcd ef"_s, u"gh"_s};
    QTest::newRow("empty quotes") << u"\"\""_s << QStringList{QString()};
    QTest::newRow("leading blank") << u" a.log"_s << QStringList{QString(), u"a.log"_s};
    QTest::newRow("trailing blank") << u"a.log "_s << QStringList{u"a.log"_s};
    QTest::newRow("blanks only") << u"   "_s << QStringList{QString(), QString(), QString()};
    QTest::newRow("closing quote last") << u"a.log\""_s << QStringList();
    QTest::newRow("empty text") << QString() << QStringList();
}

void tst_Startup::splitsArgumentText()
{
    QFETCH(QString, text);
    QFETCH(QStringList, tokens);
    QCOMPARE(tarnwick::batchTokens(text), tokens);
}

void tst_Startup::joinsArgumentsIntoTokens_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("unquotable");

    QTest::newRow("plain paths") << QStringList{u"/logs/r1.log"_s, u"r2.log"_s} << QStringList();
    QTest::newRow("blanks in paths") << QStringList{u"/my logs/r 1.log"_s, u" lead"_s, u"trail "_s, u"   "_s} << QStringList();
    QTest::newRow("empty argument") << QStringList{u"a.log"_s, QString(), u"b.log"_s} << QStringList();
    QTest::newRow("Japanese and backslashes") << QStringList{u"/ログ/機器.log"_s, u"a\\b.log"_s} << QStringList();
    QTest::newRow("quotation mark") << QStringList{u"a.log"_s, u"say \"hi\".log"_s, u"b.log"_s} << QStringList{u"say \"hi\".log"_s};
}

void tst_Startup::joinsArgumentsIntoTokens()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, unquotable);
    QStringList left;
    const QStringList tokens = tarnwick::batchTokens(tarnwick::argumentText(arguments, &left));
    QStringList expected = arguments;
    for (const QString &argument : unquotable)
        expected.removeAll(argument);
    QCOMPARE(tokens, expected);
    QCOMPARE(left, unquotable);
}

void tst_Startup::namesTemporaryFile_data()
{
    QTest::addColumn<quint32>("number");
    QTest::addColumn<QString>("name");
    QTest::newRow("padded") << quint32(0x1A2B3C) << u"Tarnwick-001A2B3C.tmp"_s;
    QTest::newRow("top bit set") << quint32(0xFFFF1234) << u"Tarnwick-FFFF1234.tmp"_s;
    QTest::newRow("zero") << quint32(0) << u"Tarnwick-00000000.tmp"_s;
    QTest::newRow("upper-case digits") << quint32(0xabcdef) << u"Tarnwick-00ABCDEF.tmp"_s;
}

void tst_Startup::namesTemporaryFile()
{
    QFETCH(quint32, number);
    QFETCH(QString, name);
    QCOMPARE(tarnwick::temporaryFileName(number), name);
}

void tst_Startup::placesProgramFiles_data()
{
    QTest::addColumn<bool>("holdsProfile");
    QTest::addColumn<QString>("temporaryFile");
    QTest::addColumn<QString>("temporaryFallback"); // where the folder refuses it (see tst_ConversionRun)
    QTest::addColumn<QString>("profile");

    QTest::newRow("portable") << true << u"/opt/tw/Tarnwick-00000042.tmp"_s << u"/tmp/Tarnwick-00000042.tmp"_s << u"/opt/tw/Tarnwick.ini"_s;
    QTest::newRow("installed program") << false << u"/tmp/Tarnwick-00000042.tmp"_s << QString() << u"/home/u/.config/Tarnwick/Tarnwick.ini"_s;
}

void tst_Startup::placesProgramFiles()
{
    QFETCH(bool, holdsProfile);
    QFETCH(QString, temporaryFile);
    QFETCH(QString, temporaryFallback);
    QFETCH(QString, profile);
    const tarnwick::ProgramFolder folder{u"/opt/tw/"_s, holdsProfile, u"/tmp/"_s, u"/home/u/.config/Tarnwick/"_s};
    const tarnwick::ProgramFiles files = tarnwick::programFiles(folder, 0x42);
    QCOMPARE(files.temporaryFile, temporaryFile);
    QCOMPARE(files.temporaryFallback, temporaryFallback);
    QCOMPARE(files.profile, profile);
}

void tst_Startup::closesFolder()
{
    QCOMPARE(tarnwick::closedFolder(u"/opt/tw"_s), u"/opt/tw"_s + QDir::separator());
    QCOMPARE(tarnwick::closedFolder(u"/opt/tw/"_s), u"/opt/tw/"_s);
    QCOMPARE(tarnwick::closedFolder(u"/"_s), u"/"_s);
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"

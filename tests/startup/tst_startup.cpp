#include "batch/ProgramFiles.h"
#include "platform/TemporaryFile.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class tst_Startup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesTemporaryFile_data();
    void namesTemporaryFile();
    void placesProgramFiles_data();
    void placesProgramFiles();
    void closesFolder();
};

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

#include "startup/CommandLine.h"
#include "startup/HelpLayout.h"
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
    void wrapsHelpByDisplayWidth_data();
    void wrapsHelpByDisplayWidth();
};

namespace {

// Columns as a terminal shows them: kana, kanji and full-width forms take two.
int columns(const QString &line)
{
    int width = 0;
    for (const QChar c : line)
        width += (c.unicode() >= 0x3000 && c.unicode() < 0xA000) || (c.unicode() >= 0xFF00 && c.unicode() < 0xFF61) ? 2 : 1;
    return width;
}

} // namespace

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
    QVERIFY(tarnwick::isTemporaryFileName(name));
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

// The help fits 80 columns in either language, breaks no word and starts no line with a closing
// mark; a description comes back whole from its wrapped lines.
void tst_Startup::wrapsHelpByDisplayWidth_data()
{
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<QString>("description");
    QTest::newRow("English") << false << u"Read each LOG as ENCODING: auto (found per file, the default), system (the locale's), utf-8 or shift-jis, and more words to wrap."_s;
    QTest::newRow("Japanese") << true << u"制御シーケンス設定がオンのとき、空白を除いて TEXT である行も取り除きます。TEXT の * は任意の文字の並びを表します（今回の実行のみ。複数回指定できます）。"_s;
}

void tst_Startup::wrapsHelpByDisplayWidth()
{
    QFETCH(bool, japanese);
    QFETCH(QString, description);
    tarnwick::installJapaneseTranslations(*QCoreApplication::instance(), false);
    const QString help = tarnwick::helpText(japanese ? tarnwick::Language::Japanese : tarnwick::Language::English);
    for (const QString &line : help.split(u'\n')) {
        QVERIFY2(columns(line) <= 80, qPrintable(line));
        QVERIFY2(!line.trimmed().startsWith(u'。') && !line.trimmed().startsWith(u'、') && !line.trimmed().startsWith(u'）'), qPrintable(line));
    }
    const QString laidOut = tarnwick::laidOutHelp(u"u"_s, {}, {{u"h:"_s, {{u"--option <VALUE>"_s, description}}}}, {});
    QStringList parts;
    const QStringList lines = laidOut.split(u'\n');
    for (const QString &line : lines.mid(lines.indexOf(u"h:"_s) + 1)) {
        if (line.isEmpty())
            continue;
        QVERIFY2(columns(line) <= 80, qPrintable(line));
        parts.append(line.mid(line.startsWith(u"  --option"_s) ? 20 : 0).trimmed());
    }
    QVERIFY(parts.size() > 2);
    if (japanese) {
        QString joined;
        for (const QString &part : std::as_const(parts))
            joined += (!joined.isEmpty() && joined.back().unicode() < 0x80 && part.front().unicode() < 0x80 ? u" "_s : QString()) + part;
        QCOMPARE(joined, description);
    } else {
        QCOMPARE(parts.join(u' '), description);
    }
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"

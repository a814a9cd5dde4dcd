#include "TestSupport.h"
#include "platform/TemporaryFile.h"
#include "startup/ArgumentText.h"
#include "startup/Batch.h"
#include "startup/RunSettings.h"
#include "window/ProgramFiles.h"
#include "window/WindowSetup.h"
#include "window/frmTarnwick.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QScreen>
#include <QActionGroup>
#include <QtTest>

using namespace testsupport;
using namespace Qt::StringLiterals;

class tst_Startup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { tarnwick::installJapaneseTranslations(*QCoreApplication::instance(), true); }
    void splitsArgumentText_data();
    void splitsArgumentText();
    void joinsArgumentsIntoTokens_data();
    void joinsArgumentsIntoTokens();
    void namesTemporaryFile_data();
    void namesTemporaryFile();
    void placesProgramFiles_data();
    void placesProgramFiles();
    void closesFolder();
    void titlesWithVersion_data();
    void titlesWithVersion();
    void centresWindow_data();
    void centresWindow();
    void loadsWindow();
    void emptyTokensDoNotCount();
    void runSettingsShowWithoutWriting();
    void abortInBatchEndsOnlyCurrentFile();
    void closingEndsBatch_data();
    void closingEndsBatch();

private:
    tarnwick::ProgramFolder programFolder() const
    {
        const QString folder = dir_.path() + u'/';
        return {folder, true, false, folder, folder};
    }

    QTemporaryDir dir_;
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
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("holdsProfile");
    QTest::addColumn<QString>("temporaryFile");
    QTest::addColumn<QString>("profile");

    QTest::newRow("portable") << true << true << u"/opt/tw/Tarnwick-00000042.tmp"_s << u"/opt/tw/Tarnwick.ini"_s;
    QTest::newRow("installed, folder writable for root") << true << false << u"/tmp/Tarnwick-00000042.tmp"_s << u"/home/u/.config/Tarnwick/Tarnwick.ini"_s;
    QTest::newRow("installed program") << false << false << u"/tmp/Tarnwick-00000042.tmp"_s << u"/home/u/.config/Tarnwick/Tarnwick.ini"_s;
    QTest::newRow("portable on a read-only medium") << false << true << u"/tmp/Tarnwick-00000042.tmp"_s << u"/opt/tw/Tarnwick.ini"_s;
}

void tst_Startup::placesProgramFiles()
{
    QFETCH(bool, writable);
    QFETCH(bool, holdsProfile);
    QFETCH(QString, temporaryFile);
    QFETCH(QString, profile);
    const tarnwick::ProgramFolder folder{u"/opt/tw/"_s, writable, holdsProfile, u"/tmp/"_s, u"/home/u/.config/Tarnwick/"_s};
    const tarnwick::ProgramFiles files = tarnwick::programFiles(folder, 0x42);
    QCOMPARE(files.temporaryFile, temporaryFile);
    QCOMPARE(files.profile, profile);
}

void tst_Startup::closesFolder()
{
    QCOMPARE(tarnwick::closedFolder(u"/opt/tw"_s), u"/opt/tw"_s + QDir::separator());
    QCOMPARE(tarnwick::closedFolder(u"/opt/tw/"_s), u"/opt/tw/"_s);
    QCOMPARE(tarnwick::closedFolder(u"/"_s), u"/"_s);
}

void tst_Startup::titlesWithVersion_data()
{
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("title");
    QTest::newRow("1.20") << 20 << u"Tarnwick Ver.1.20"_s;
    QTest::newRow("minor 5") << 5 << u"Tarnwick Ver.1.05"_s;
    QTest::newRow("minor 0") << 0 << u"Tarnwick Ver.1.00"_s;
}

void tst_Startup::titlesWithVersion()
{
    QFETCH(int, minor);
    QFETCH(QString, title);
    QCOMPARE(tarnwick::titleWithVersion(u"Tarnwick"_s, 1, minor), title);
}

void tst_Startup::centresWindow_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("usual screen") << QSize(1920, 1080) << QSize(313, 129) << QPoint(803, 475);
    QTest::newRow("odd difference") << QSize(800, 600) << QSize(313, 129) << QPoint(243, 235);
    QTest::newRow("window wider than screen") << QSize(300, 200) << QSize(313, 129) << QPoint(-6, 35);
}

void tst_Startup::centresWindow()
{
    QFETCH(QSize, screen);
    QFETCH(QSize, window);
    QFETCH(QPoint, position);
    QCOMPARE(tarnwick::centredPosition(screen, window), position);
}

void tst_Startup::loadsWindow()
{
    frmTarnwick form;
    const QString folder = dir_.path() + u'/';
    writeFile(folder + u"Tarnwick.ini"_s, "[Tarnwick]\nFileExt=cap\n");
    form.Form_Load(programFolder());
    QCOMPARE(form.windowTitle(), u"Tarnwick Ver.1.20"_s);
    QVERIFY(!form.isVisible()); // shown by the caller
    QCOMPARE(form.IniFile, folder + u"Tarnwick.ini"_s);
    QCOMPARE(form.Text3->text(), u"cap"_s);
    QCOMPARE(form.TempFile, folder + tarnwick::temporaryFileName(static_cast<std::uint32_t>(QCoreApplication::applicationPid())));
    const QRect screen = form.screen()->geometry();
    QCOMPARE(form.pos(), screen.topLeft() + tarnwick::centredPosition(screen.size(), form.frameGeometry().size()));
}

void tst_Startup::emptyTokensDoNotCount()
{
    writeFile(dir_.filePath(u"a.log"_s), "a\b\n");
    writeFile(dir_.filePath(u"b.log"_s), "b\n");
    frmTarnwick form;
    form.Form_Load(programFolder());
    QStringList reported;
    const QStringList tokens = tarnwick::batchTokens(u"\"%1\" \"%2\""_s.arg(dir_.filePath(u"a.log"_s), dir_.filePath(u"b.log"_s)));
    QCOMPARE(tokens.size(), 3);
    QCOMPARE(tarnwick::runBatch(form, tokens, [&](const tarnwick::Problem &problem) { reported.append(problem.file); }, true), 0);
    QCOMPARE(reported, QStringList());
    QCOMPARE(readFile(dir_.filePath(u"b."_s + form.OutExt)), QByteArray("b\r\n"));
}

void tst_Startup::runSettingsShowWithoutWriting()
{
    const QByteArray profile = "[Tarnwick]\r\nFileExt=txt\r\nPager1=Hit * key\r\n";
    writeFile(dir_.filePath(u"Tarnwick.ini"_s), profile);
    frmTarnwick form;
    form.Form_Load(programFolder());
    tarnwick::applyRunSettings(form, {true, true, u"cfg"_s, true, tarnwick::EncodingSetting::ShiftJis, true, {u"-- * --"_s}});
    QVERIFY(form.controlsItem->isChecked() && form.ControlsOn);
    QCOMPARE(form.Encoding, tarnwick::EncodingSetting::ShiftJis);
    QCOMPARE(form.encodingItems->checkedAction()->text(), u"Shift-JIS"_s);
    QVERIFY(form.Check1->isChecked() && form.OverWriteOn);
    QVERIFY(form.Check2->isChecked() && form.ScrollOn);
    QCOMPARE(form.Text3->text(), u"cfg"_s);
    QCOMPARE(form.OutExt, u"cfg"_s);
    form.Text1->setText(u"/logs/192.168.1.1.log"_s);
    QCOMPARE(form.Text2->text(), u"/logs/192.168.1.1.cfg"_s);
    // The profile's pager prompt and the command line's both apply.
    writeFile(dir_.filePath(u"r1.log"_s), "Hit the key\n-- Page 2 --\nkept\n");
    form.Text1->setText(dir_.filePath(u"r1.log"_s));
    tarnwick::BatchOutputs outputs;
    QCOMPARE(form.convert(outputs)->status, tarnwick::RunOutcome::Status::Completed);
    QCOMPARE(readFile(dir_.filePath(u"r1.log"_s)), QByteArray("kept\r\n"));
    QCOMPARE(readFile(dir_.filePath(u"Tarnwick.ini"_s)), profile);
}

void tst_Startup::abortInBatchEndsOnlyCurrentFile()
{
    writeFile(dir_.filePath(u"first.log"_s), times("x\b\n", 5000));
    writeFile(dir_.filePath(u"second.log"_s), "a\b\n");
    frmTarnwick form;
    form.Form_Load(programFolder());
    auto *abortFirstRun = new QTimer(&form);
    abortFirstRun->setInterval(0);
    connect(abortFirstRun, &QTimer::timeout, &form, [&] {
        if (form.Command2->text() == u"中 断"_s) {
            abortFirstRun->stop();
            form.Command2->click();
        }
    });
    abortFirstRun->start();
    QStringList reported;
    QStringList boxes; // the summary for a batch started from the desktop
    form.dialogs.showFailure = [&](QWidget *, const QString &message) { boxes.append(message); };
    const int status = tarnwick::runBatch(form, {dir_.filePath(u"first.log"_s), dir_.filePath(u"second.log"_s)},
                                          [&](const tarnwick::Problem &problem) { reported.append(problem.file + u": "_s + problem.english); }, true);
    QCOMPARE(status, 1);
    QCOMPARE(reported, QStringList{QDir::toNativeSeparators(dir_.filePath(u"first.log"_s)) + u": not converted: the conversion was aborted"_s});
    QCOMPARE(boxes, QStringList{u"次のファイルは変換されませんでした。\n"_s + QDir::toNativeSeparators(dir_.filePath(u"first.log"_s)) + u": 変換されませんでした: 中断されました"_s});
    QVERIFY(!form.isVisible());
    const QString extension = u"."_s + form.OutExt;
    QVERIFY(!QFile::exists(dir_.filePath(u"first"_s + extension)));
    QCOMPARE(readFile(dir_.filePath(u"second"_s + extension)), QByteArray("\r\n"));
    QVERIFY(!QFile::exists(form.TempFile));
}

void tst_Startup::closingEndsBatch_data()
{
    QTest::addColumn<bool>("duringRun"); // else between the two files
    QTest::newRow("window closed during the first run") << true;
    QTest::newRow("exit button between the files") << false;
}

void tst_Startup::closingEndsBatch()
{
    QFETCH(bool, duringRun);
    const QTemporaryDir dir;
    writeFile(dir.filePath(u"first.log"_s), times("x\b\n", 5000));
    writeFile(dir.filePath(u"second.log"_s), "a\b\n");
    frmTarnwick form;
    form.Form_Load(programFolder());
    form.dialogs.showFailure = [](QWidget *, const QString &message) { QFAIL(qPrintable(u"no summary expected: "_s + message)); };
    auto *closer = new QTimer(&form);
    closer->setInterval(0);
    connect(closer, &QTimer::timeout, &form, [&] {
        const bool running = form.Command2->text() == u"中 断"_s;
        const bool firstDone = form.Text1->text().endsWith(u"second.log"_s);
        if (duringRun ? running : firstDone) {
            closer->stop();
            if (duringRun)
                form.close();
            else
                form.Command2->click();
        }
    });
    closer->start();
    QStringList reported;
    const int status = tarnwick::runBatch(form, {dir.filePath(u"first.log"_s), dir.filePath(u"second.log"_s)},
                                          [&](const tarnwick::Problem &problem) { reported.append(problem.file + u": "_s + problem.english); });
    QCOMPARE(status, 1);
    QCOMPARE(reported.last(), QDir::toNativeSeparators(dir.filePath(u"second.log"_s)) + u": not converted: the batch was ended"_s);
    QVERIFY(!form.isVisible());
    const QString extension = u"."_s + form.OutExt;
    QCOMPARE(QFile::exists(dir.filePath(u"first"_s + extension)), !duringRun);
    QVERIFY(!QFile::exists(dir.filePath(u"second"_s + extension)));
    QVERIFY(!QFile::exists(form.TempFile));
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"

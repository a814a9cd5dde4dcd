#include "TestSupport.h"
#include "batch/RunSettings.h"
#include "window/frmTarnwick.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QtTest>

using namespace testsupport;
using namespace Qt::StringLiterals;

class tst_SettingsHandlers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void startsWithDefaultsWithoutProfile();
    void loadsHandWrittenProfileWithoutWriting_data();
    void loadsHandWrittenProfileWithoutWriting();
    void writesEachRealChangeOnce();
    void keepsKeyWhenSwitchedOff();
    void extensionChangeLeavesOutputPath();
    void unwritableProfileKeepsMirrorSilently();

private:
    // A window whose profile is `ini`, loaded as start-up loads it.
    std::unique_ptr<frmTarnwick> loadedForm(const QString &ini)
    {
        auto form = std::make_unique<frmTarnwick>();
        form->IniFile = ini;
        form->TempFile = dir_->filePath(u"Tarnwick-00000001.tmp"_s);
        form->dialogs.showFailure = [](QWidget *, const QString &message) { QFAIL(qPrintable(message)); };
        form->loadSettings(tarnwick::settingsInForce({}, ini));
        return form;
    }
    QString profile() const { return dir_->filePath(u"Tarnwick.ini"_s); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void tst_SettingsHandlers::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
}

void tst_SettingsHandlers::startsWithDefaultsWithoutProfile()
{
    {
        const auto form = loadedForm(profile());
        QVERIFY(!form->Check1->isChecked() && !form->OverWriteOn);
        QVERIFY(!form->Check2->isChecked() && !form->ScrollOn);
        // A first start converts r1.log into r1.txt.
        QCOMPARE(form->Text3->text(), u"txt"_s);
        QCOMPARE(form->OutExt, u"txt"_s);
        form->show();
        form->Command2_Click();
    }
    QVERIFY(!QFile::exists(profile()));
}

void tst_SettingsHandlers::loadsHandWrittenProfileWithoutWriting_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<bool>("scroll");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("controls");
    QTest::addColumn<QString>("encoding"); // the checked item of the submenu

    QTest::newRow("true in lower case") << QByteArray("[Tarnwick]\r\nOverWrite=true\r\nScroll=True\r\nFileExt=log\r\nControls=true\r\nEncoding=utf-8\r\n")
                                        << true << true << u"log"_s << true << u"UTF-8"_s;
    QTest::newRow("1 is off") << QByteArray("[Tarnwick]\nOverWrite=1\nScroll=yes\nControls=1\nEncoding=EUC-JP\n") << false << false << u"txt"_s << false
                              << u"自動"_s;
    // What the first setting changed in the window writes: that key alone.
    QTest::newRow("one key") << QByteArray("[Tarnwick]\r\nControls=TRUE\r\n") << false << false << u"txt"_s << true << u"自動"_s;
    QTest::newRow("another section's extension") << QByteArray("[Other]\nFileExt=log\n[Tarnwick]\nScroll=TRUE\n") << false << true << u"txt"_s
                                                 << false << u"自動"_s;
    QTest::newRow("extension with its dot") << QByteArray("[Tarnwick]\nFileExt=.log\n") << false << false << u".log"_s << false << u"自動"_s;
    QTest::newRow("lower-case names") << QByteArray("[tarnwick]\noverwrite=TRUE\nfileext=TXT\ncontrols=TRUE\nencoding=Shift_JIS\n") << true << false << u"TXT"_s
                                      << true << u"Shift-JIS"_s;
    QTest::newRow("written by the program") << QByteArray("[Tarnwick]\nOverWrite=FALSE\nScroll=TRUE\nFileExt=\nEncoding=System\n") << false << true << QString()
                                            << false << u"システム"_s;
}

void tst_SettingsHandlers::loadsHandWrittenProfileWithoutWriting()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, overwrite);
    QFETCH(bool, scroll);
    QFETCH(QString, extension);
    QFETCH(bool, controls);
    QFETCH(QString, encoding);

    writeFile(profile(), text);
    const auto form = loadedForm(profile());
    QCOMPARE(form->Check1->isChecked(), overwrite);
    QCOMPARE(form->OverWriteOn, overwrite);
    QCOMPARE(form->Check2->isChecked(), scroll);
    QCOMPARE(form->ScrollOn, scroll);
    QCOMPARE(form->Text3->text(), extension);
    QCOMPARE(form->OutExt, extension);
    QCOMPARE(form->controlsItem->isChecked(), controls);
    QCOMPARE(form->ControlsOn, controls);
    QCOMPARE(form->encodingItems->checkedAction()->text(), encoding);
    // The setters find mirror and control equal: nothing is written, not even by calling them.
    form->Check1_Click();
    form->Check2_Click();
    form->Text3_Change();
    QCOMPARE(readFile(profile()), text);
}

void tst_SettingsHandlers::writesEachRealChangeOnce()
{
    // An empty extension, the user's own: the box starts empty.
    writeFile(profile(), "[Tarnwick]\nFileExt=\n");
    const auto form = loadedForm(profile());
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));

    QStringList seen;
    QObject::connect(form->Text3, &QLineEdit::textChanged, form.get(), [&] { seen.append(QString::fromUtf8(readFile(profile()))); });
    QTest::keyClicks(form->Text3, u"txt"_s);
    QCOMPARE(seen, (QStringList{u"[Tarnwick]\nFileExt=t\n"_s, u"[Tarnwick]\nFileExt=tx\n"_s, u"[Tarnwick]\nFileExt=txt\n"_s}));

    form->Text3->setText(u"LOG"_s);
    form->Text3->setText(u"log"_s);
    QCOMPARE(readFile(profile()), QByteArray("[Tarnwick]\nFileExt=log\n"));

    QTest::mouseClick(form->Check1, Qt::LeftButton);
    QVERIFY(form->OverWriteOn);
    QCOMPARE(readFile(profile()), QByteArray("[Tarnwick]\nFileExt=log\nOverWrite=TRUE\n"));
    QTest::keyClick(form->Check2, Qt::Key_Space);
    QVERIFY(form->ScrollOn);
    QCOMPARE(readFile(profile()), QByteArray("[Tarnwick]\nFileExt=log\nOverWrite=TRUE\nScroll=TRUE\n"));
    // The context menu of the window and of its labels holds the switches and the encoding
    // submenu.
    for (QWidget *target : QList<QWidget *>{form.get(), form->Label1, form->Label4}) {
        QCOMPARE(target->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(target->actions().size(), 6);
        QCOMPARE(target->actions().first(), form->controlsItem);
        QCOMPARE(target->actions().at(1), form->keepDotsItem);
        QCOMPARE(target->actions().at(2), form->maskItem);
        QCOMPARE(target->actions().at(3)->menu()->actions(), form->encodingItems->actions());
        QCOMPARE(target->actions().at(4), form->recursiveItem);
        QCOMPARE(target->actions().last()->menu()->actions(), (QList<QAction *>{form->besideLogItem, form->outputFolderItem, form->chooseOutputFolderItem}));
    }
    QCOMPARE(form->controlsItem->text(), u"端末制御シーケンスを処理"_s);
    form->controlsItem->trigger();
    QVERIFY(form->ControlsOn);
    QCOMPARE(readFile(profile()), QByteArray("[Tarnwick]\nFileExt=log\nOverWrite=TRUE\nScroll=TRUE\nControls=TRUE\n"));
    form->encodingItems->actions().at(2)->trigger();
    form->encodingItems->actions().at(2)->trigger();
    QCOMPARE(form->Encoding, tarnwick::EncodingSetting::Utf8);
    QCOMPARE(readFile(profile()), QByteArray("[Tarnwick]\nFileExt=log\nOverWrite=TRUE\nScroll=TRUE\nControls=TRUE\nEncoding=UTF-8\n"));
    form->encodingItems->actions().at(0)->trigger();
    QCOMPARE(readFile(profile()), QByteArray("[Tarnwick]\nFileExt=log\nOverWrite=TRUE\nScroll=TRUE\nControls=TRUE\nEncoding=Auto\n"));
    form->encodingItems->actions().at(2)->trigger();
    // The output name follows the dots setting at once.
    form->Text1->setText(u"/logs/192.168.1.1.log"_s);
    QCOMPARE(form->Text2->text(), u"/logs/192.log"_s);
    form->keepDotsItem->trigger();
    QCOMPARE(form->Text2->text(), u"/logs/192.168.1.1.log"_s);
    form->keepDotsItem->trigger();
    QCOMPARE(form->Text2->text(), u"/logs/192.log"_s);
    QVERIFY(readFile(profile()).endsWith("Encoding=UTF-8\nKeepDots=FALSE\n"));
    QCOMPARE(form->maskItem->text(), u"機密情報を伏せる"_s);
    QVERIFY(!form->maskItem->isChecked());
    form->maskItem->trigger();
    QVERIFY(form->MaskOn);
    QVERIFY(readFile(profile()).endsWith("KeepDots=FALSE\nMask=TRUE\n"));

    // Deleting the text stores the empty extension, and the next start shows an empty box.
    form->Text3->clear();
    QCOMPARE(loadedForm(profile())->Text3->text(), QString());
    QCOMPARE(readFile(profile()), QByteArray("[Tarnwick]\nFileExt=\nOverWrite=TRUE\nScroll=TRUE\nControls=TRUE\nEncoding=UTF-8\nKeepDots=FALSE\nMask=TRUE\n"));
}

void tst_SettingsHandlers::keepsKeyWhenSwitchedOff()
{
    writeFile(profile(), "[Tarnwick]\nOverWrite=TRUE\n");
    const auto form = loadedForm(profile());
    form->Check1->setChecked(false);
    QVERIFY(!form->OverWriteOn);
    QCOMPARE(readFile(profile()), QByteArray("[Tarnwick]\nOverWrite=FALSE\n"));
}

void tst_SettingsHandlers::extensionChangeLeavesOutputPath()
{
    const auto form = loadedForm(profile());
    form->Text3->setText(u"txt"_s);
    form->Text1->setText(u"/logs/r1.log"_s);
    form->Text3->setText(u"cleaned"_s);
    QCOMPARE(form->Text2->text(), u"/logs/r1.txt"_s);
    // Typed with its dot, the extension makes the same output name.
    form->Text3->setText(u".txt"_s);
    form->Text1->setText(u"/logs/r2.log"_s);
    QCOMPARE(form->Text2->text(), u"/logs/r2.txt"_s);
}

void tst_SettingsHandlers::unwritableProfileKeepsMirrorSilently()
{
    // A profile path below a plain file can be neither read nor written, whoever runs the test.
    writeFile(dir_->filePath(u"plain-file"_s), "not a folder");
    const QString unwritable = dir_->filePath(u"plain-file/Tarnwick.ini"_s);
    {
        const auto form = loadedForm(unwritable);
        form->Check2->setChecked(true);
        QVERIFY(form->ScrollOn);
        form->Text3->setText(u"txt"_s);
        QCOMPARE(form->OutExt, u"txt"_s);
    }
    const auto restarted = loadedForm(unwritable);
    QVERIFY(!restarted->Check2->isChecked());
    QCOMPARE(restarted->Text3->text(), u"txt"_s); // as at a first start: nothing was kept
}

QTEST_MAIN(tst_SettingsHandlers)
#include "tst_settingshandlers.moc"

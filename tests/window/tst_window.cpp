#include "TestSupport.h"
#include "batch/Batch.h"
#include "batch/RunSettings.h"
#include "batch/Messages.h"
#include "platform/TemporaryFile.h"
#include "settings/ProfileSettings.h"
#include "window/OpenFileDialog.h"
#include "window/TextFitting.h"
#include "window/WindowSetup.h"
#include "window/frmTarnwick.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QActionGroup>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

using namespace testsupport;
using namespace Qt::StringLiterals;

namespace {

QByteArray manyLines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "R1#shpw\b\bow run\n";
    return text;
}

// Drags the data onto the widget and drops it there, as a drag from a file manager does (one
// that offers a move proposes it); false when the widget refuses the drag or takes it as a move.
bool dragAndDrop(QWidget *widget, const QMimeData &data, Qt::DropActions offered = Qt::CopyAction)
{
    const QPoint centre = widget->rect().center();
    QDragEnterEvent enter(centre, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    if (!enter.isAccepted() || enter.dropAction() != Qt::CopyAction)
        return false;
    QDropEvent drop(centre, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

// The result line as read, without the breaks it is shown with; empty when a line of it is wider
// than the label, where the toolkit would break it again inside a word.
QString resultLine(const QLabel *label)
{
    const QFontMetrics metrics(label->font());
    for (const QString &line : label->text().split(u'\n'))
        if (metrics.horizontalAdvance(line) > label->contentsRect().width())
            return {};
    return label->text().remove(u'\n');
}

// Runs `action` at the first chance it gets while a conversion is running.
void duringRun(frmTarnwick &form, std::function<void()> action)
{
    auto *timer = new QTimer(&form);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, &form, [&form, timer, action] {
        if (form.Command2->text() == u"中 断"_s) {
            timer->stop();
            timer->deleteLater();
            action();
        }
    });
    timer->start();
}

} // namespace

class tst_Window : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { tarnwick::installJapaneseTranslations(*QCoreApplication::instance(), true); }
    void init();
    void cleanup();
    void showsControlsAsDesigned_data();
    void showsControlsAsDesigned();
    void usesJapaneseGothicFonts();
    void visitsControlsInTabOrder();
    void answersEnterIgnoresEscape_data();
    void answersEnterIgnoresEscape();
    void dropSetsSourcePath_data();
    void dropSetsSourcePath();
    void dropWithoutFilesChangesNothing();
    void convertsEveryLogDropped_data();
    void convertsEveryLogDropped();
    void browseConfirmsOrCancels();
    void openFileDialogListsLogsFirst_data();
    void openFileDialogListsLogsFirst();
    void outputFollowsSourceOnly();
    void refusesMissingPaths();
    void convertsAndShowsStates();
    void reportsFailureOnceWhenIdle_data();
    void reportsFailureOnceWhenIdle();
    void progressFitsConvertButton_data();
    void progressFitsConvertButton();
    void abortKeepsWindowOpen_data();
    void abortKeepsWindowOpen();
    void closingDuringRunAbortsThenCloses();
    void exitWhenIdleCloses();
    void titlesWithVersion_data();
    void titlesWithVersion();
    void centresWindow_data();
    void centresWindow();
    void loadsWindow();
    void emptyTokensDoNotCount();
    void asksBeforeConvertingNonText();
    void runSettingsShowWithoutWriting();
    void abortInBatchEndsOnlyCurrentFile();
    void closingEndsBatch_data();
    void closingEndsBatch();

private:
    // The start of a run whose program folder is the test's folder, with the settings of the
    // profile there under `settings`.
    tarnwick::RunStart programStart(const tarnwick::RunSettings &settings = {}) const
    {
        const QString folder = dir_->path() + u'/';
        const tarnwick::ProgramFiles files = tarnwick::programFiles({folder, false, folder, folder}, tarnwick::processNumber());
        return {files, tarnwick::settingsInForce(settings, files.profile)};
    }
    // As the window shows paths: in the system's separators.
    QString path(const QString &name) const { return QDir::toNativeSeparators(dir_->filePath(name)); }
    QWidget *controlNamed(const QString &name) const
    {
        const std::map<QString, QWidget *> controls = {
            {u"Label1"_s, form_->Label1}, {u"Label2"_s, form_->Label2}, {u"Label3"_s, form_->Label3}, {u"Label4"_s, form_->Label4},
            {u"Text1"_s, form_->Text1}, {u"Text2"_s, form_->Text2}, {u"Text3"_s, form_->Text3}, {u"Check1"_s, form_->Check1},
            {u"Check2"_s, form_->Check2}, {u"Command1"_s, form_->Command1}, {u"Command2"_s, form_->Command2}, {u"Command3"_s, form_->Command3}};
        return controls.at(name);
    }
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<frmTarnwick> form_;
    QStringList failures_;
};

void tst_Window::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    form_ = std::make_unique<frmTarnwick>();
    form_->IniFile = path(u"Tarnwick.ini"_s);
    form_->TempFile = path(u"Tarnwick-00000001.tmp"_s);
    failures_.clear();
    form_->dialogs.showFailure = [this](QWidget *, const QString &message) {
        QCOMPARE(form_->Command1->text(), u"変 換"_s); // told once the window is idle again
        failures_.append(message);
    };
    form_->dialogs.openFile = [](QWidget *, const QString &) -> std::optional<QString> {
        qFatal("no dialog expected");
        return std::nullopt;
    };
    form_->loadSettings(tarnwick::settingsInForce({}, form_->IniFile));
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void tst_Window::cleanup()
{
    form_.reset();
}

void tst_Window::showsControlsAsDesigned_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("Label1") << u"Label1"_s << u"変換元ログ"_s << QRect(8, 10, 81, 17);
    QTest::newRow("Text1") << u"Text1"_s << QString() << QRect(96, 8, 177, 18);
    QTest::newRow("Command3") << u"Command3"_s << u"参照"_s << QRect(272, 8, 33, 17);
    QTest::newRow("Label2") << u"Label2"_s << u"出力ファイル"_s << QRect(8, 34, 81, 17);
    QTest::newRow("Text2") << u"Text2"_s << QString() << QRect(96, 32, 209, 18);
    QTest::newRow("Label3") << u"Label3"_s << u"出力拡張子"_s << QRect(8, 58, 81, 17);
    QTest::newRow("Text3") << u"Text3"_s << u"txt"_s << QRect(96, 56, 57, 18);
    QTest::newRow("Check1") << u"Check1"_s << u"ログファイル上書き"_s << QRect(168, 56, 145, 16);
    QTest::newRow("Label4") << u"Label4"_s << u"ログファイルから BackSpace(0x08) を取り除きます。"_s << QRect(4, 84, 89, 41);
    QTest::newRow("Command1") << u"Command1"_s << u"変 換"_s << QRect(96, 96, 97, 25);
    QTest::newRow("Command2") << u"Command2"_s << u"終 了"_s << QRect(208, 96, 97, 25);
    QTest::newRow("Check2") << u"Check2"_s << u"$（横スクロール）に挑戦"_s << QRect(168, 72, 145, 16);
}

void tst_Window::showsControlsAsDesigned()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);

    QWidget *widget = controlNamed(control);
    QCOMPARE(widget->geometry(), geometry);
    QVERIFY(widget->isEnabled() && widget->isVisible());
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        QCOMPARE(button->text(), text);
    else
        QCOMPARE(qobject_cast<QLineEdit *>(widget)->text(), text);

    QCOMPARE(form_->size(), QSize(313, 129));
    QCOMPARE(form_->minimumSize(), QSize(313, 129));
    QCOMPARE(form_->maximumHeight(), 129);
    // Widened, the path boxes grow and the browse button keeps to the right edge.
    form_->resize(513, 129);
    QRect widened = geometry;
    if (widget == form_->Text1 || widget == form_->Text2)
        widened.setWidth(geometry.width() + 200);
    else if (widget == form_->Command3)
        widened.translate(200, 0);
    QCOMPARE(widget->geometry(), widened);
    QVERIFY(form_->Label4->wordWrap());
    QVERIFY(!form_->windowIcon().isNull());
    QVERIFY(form_->windowIcon().availableSizes().contains(QSize(16, 16)));
    QVERIFY(form_->windowIcon().availableSizes().contains(QSize(32, 32)));
    QVERIFY(!form_->Check1->isChecked() && !form_->Check2->isChecked());
}

void tst_Window::usesJapaneseGothicFonts()
{
    for (QWidget *large : std::initializer_list<QWidget *>{form_->Label1, form_->Label2, form_->Label3, form_->Check1}) {
        QCOMPARE(large->font().pointSizeF(), 11.25);
        QCOMPARE(large->font().families().first(), u"ＭＳ Ｐゴシック"_s);
        QVERIFY(!large->font().bold() && !large->font().italic());
    }
    for (QWidget *plain : std::initializer_list<QWidget *>{form_->Check2, form_->Text1, form_->Command1})
        QCOMPARE(plain->font().pointSizeF(), 9.0);
    QVERIFY(form_->Label4->font().pointSizeF() <= 9.0);
    // Every Japanese text can be drawn by an installed font, and fits its box.
    QVERIFY(QFontMetrics(form_->Label1->font()).inFontUcs4(U'変'));
    for (QLabel *label : {form_->Label1, form_->Label2, form_->Label3, form_->Label4}) {
        const QRect needed = QFontMetrics(label->font()).boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text());
        QVERIFY2(label->contentsRect().contains(needed), qPrintable(label->text()));
    }
    for (QCheckBox *check : {form_->Check1, form_->Check2}) {
        QStyleOptionButton option;
        option.initFrom(check);
        const QRect contents = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
        QVERIFY2(contents.left() + QFontMetrics(check->font()).horizontalAdvance(check->text()) <= check->width(), qPrintable(check->text()));
        QVERIFY(QFontMetrics(check->font()).height() <= check->height());
    }
    for (QPushButton *button : {form_->Command1, form_->Command2, form_->Command3})
        QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(button->text()) < button->width() - 4, qPrintable(button->text()));
}

void tst_Window::visitsControlsInTabOrder()
{
    QCOMPARE(QApplication::focusWidget(), form_->Text1);
    const QList<QWidget *> order = {form_->Command3, form_->Text2, form_->Text3, form_->Check1,
                                    form_->Check2, form_->Command1, form_->Command2, form_->Text1};
    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void tst_Window::answersEnterIgnoresEscape_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Enter in the source box") << u"Text1"_s << int(Qt::Key_Return) << true << false;
    QTest::newRow("keypad Enter in the output box") << u"Text2"_s << int(Qt::Key_Enter) << true << false;
    QTest::newRow("Enter on convert") << u"Command1"_s << int(Qt::Key_Return) << true << false;
    QTest::newRow("Enter on exit") << u"Command2"_s << int(Qt::Key_Return) << false << true;
    QTest::newRow("Enter in the extension box") << u"Text3"_s << int(Qt::Key_Return) << false << false;
    QTest::newRow("Escape in the source box") << u"Text1"_s << int(Qt::Key_Escape) << false << false;
    QTest::newRow("Escape on convert") << u"Command1"_s << int(Qt::Key_Escape) << false << false;
}

void tst_Window::answersEnterIgnoresEscape()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(bool, converts);
    QFETCH(bool, closes);
    writeFile(path(u"r1.log"_s), "abc\b\n");
    form_->Text1->setText(path(u"r1.log"_s));
    QWidget *target = controlNamed(control);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(readFile(path(u"r1.txt"_s)), converts ? QByteArray("ab\r\n") : QByteArray("<missing>"));
    QCOMPARE(form_->isVisible(), !closes);
}

void tst_Window::dropSetsSourcePath_data()
{
    QTest::addColumn<QString>("target");
    for (const char *target : {"window", "Text1", "Text2", "Text3", "Label1", "Label2", "Label3", "Label4", "Check1", "Check2",
                               "Command1", "Command2", "Command3"})
        QTest::newRow(target) << QString::fromLatin1(target);
}

void tst_Window::dropSetsSourcePath()
{
    QFETCH(QString, target);
    QWidget *widget = target == u"window"_s ? form_.get() : controlNamed(target);
    form_->Text3->setText(u"txt"_s);
    QVERIFY(QDir(dir_->path()).mkdir(u"a folder.d"_s));
    writeFile(path(u"r1.log"_s), "abc\n");

    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(path(u"r1.log"_s))});
    QVERIFY(dragAndDrop(widget, file, Qt::CopyAction | Qt::MoveAction));
    QCOMPARE(form_->Text1->text(), path(u"r1.log"_s));
    QCOMPARE(form_->Text2->text(), path(u"r1.txt"_s));
    QCOMPARE(form_->Command1->text(), u"変 換"_s); // no run started
    QVERIFY(!QFile::exists(path(u"r1.txt"_s)));
    QVERIFY(form_->isVisible());
}

void tst_Window::convertsEveryLogDropped_data()
{
    QTest::addColumn<QStringList>("dropped"); // in logs/{r1.log, r2.log, notes.txt, sub/r3.log}
    QTest::addColumn<bool>("recursive");
    QTest::addColumn<bool>("outputFolder"); // out/, chosen in the context menu
    QTest::addColumn<bool>("abortFirst");
    QTest::addColumn<QStringList>("outputs");
    QTest::addColumn<QString>("result"); // how the whole result begins, "@" for the missing log
    QTest::addColumn<int>("files"); // the logs counted
    QTest::addColumn<int>("jobs");

    for (const int jobs : {1, 2}) {
        const auto row = [jobs](const char *name) -> QTestData & { return QTest::newRow(qPrintable(u"%1, %2 at once"_s.arg(QLatin1StringView(name)).arg(jobs))); };
        row("three files, one missing") << QStringList{u"r1.log"_s, u"r9.log"_s, u"r2.log"_s} << false << false << false
                                        << QStringList{u"logs/r1.txt"_s, u"logs/r2.txt"_s}
                                        << u"2 件を変換しました。1 件は変換できませんでした。@: 開けませんでした"_s << 3 << jobs;
        row("a folder and its subfolders") << QStringList{QString()} << true << false << false
                                           << QStringList{u"logs/r1.txt"_s, u"logs/r2.txt"_s, u"logs/sub/r3.txt"_s} << u"3 件を変換しました。"_s << 3 << jobs;
        // Aborted at once: in the first's first pass, or before the runs at once begin. The first
        // keeps nothing, and none after it is converted.
        row("aborted") << QStringList{u"r1.log"_s, u"r2.log"_s, u"sub/r3.log"_s} << false << false << true << QStringList{}
                       << u"中断しました。0 件を変換しました。3 件は変換していません。"_s << 3 << jobs;
    }
    QTest::newRow("a folder") << QStringList{QString()} << false << false << false << QStringList{u"logs/r1.txt"_s, u"logs/r2.txt"_s}
                              << u"2 件を変換しました。"_s << 2 << 1;
    QTest::newRow("into the output folder") << QStringList{QString(), u"sub/r3.log"_s} << true << true << false
                                            << QStringList{u"out/r1.txt"_s, u"out/r2.txt"_s, u"out/r3.txt"_s, u"out/sub/r3.txt"_s}
                                            << u"4 件を変換しました。"_s << 4 << 2;
}

void tst_Window::convertsEveryLogDropped()
{
    QFETCH(QStringList, dropped);
    QFETCH(bool, recursive);
    QFETCH(bool, outputFolder);
    QFETCH(bool, abortFirst);
    QFETCH(QStringList, outputs);
    QFETCH(QString, result);
    QFETCH(int, files);
    QFETCH(int, jobs);
    form_->Jobs = jobs;
    QVERIFY(QDir().mkpath(path(u"logs/sub"_s)));
    for (const QString &log : {u"r1.log"_s, u"r2.log"_s, u"notes.txt"_s, u"sub/r3.log"_s})
        writeFile(path(u"logs/"_s + log), times("R1#shpw\b\bow run\n", 20000));
    form_->Text3->setText(u"txt"_s);
    if (recursive != form_->recursiveItem->isChecked())
        form_->recursiveItem->trigger();
    if (outputFolder) {
        form_->dialogs.chooseFolder = [this](QWidget *, const QString &) { return std::optional(path(u"out"_s)); };
        form_->chooseOutputFolderItem->trigger();
        QVERIFY(form_->outputFolderItem->isChecked() && !form_->besideLogItem->isChecked());
    }
    QStringList progress;
    duringRun(*form_, [&] {
        progress.append(form_->Label4->text().section(u'\n', 0, 0));
        if (abortFirst)
            form_->Command2->click();
    });
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &name : dropped)
        urls.append(QUrl::fromLocalFile(name.isEmpty() ? path(u"logs"_s) : path(u"logs/"_s + name)));
    data.setUrls(urls);
    QVERIFY(dragAndDrop(form_->Label2, data));

    QStringList found;
    for (QDirIterator it(dir_->path(), {u"*.txt"_s}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        found.append(QDir(dir_->path()).relativeFilePath(it.next()));
    found.removeOne(u"logs/notes.txt"_s);
    found.sort();
    QCOMPARE(found, outputs);
    for (const QString &output : outputs)
        QVERIFY(readFile(dir_->filePath(output)) == times("R1#show run\r\n", 20000));
    QCOMPARE(progress.value(0), u"0 / %1 ファイル"_s.arg(files));
    QVERIFY2(form_->Label4->toolTip().startsWith(result.replace(u'@', path(u"logs/r9.log"_s))), qPrintable(form_->Label4->toolTip()));
    QVERIFY(!resultLine(form_->Label4).isEmpty());
    // A box lists what was not converted, only when something failed.
    QCOMPARE(failures_.size(), dropped.contains(u"r9.log"_s) ? 1 : 0);
    QCOMPARE(tarnwick::settings::readText(form_->IniFile, tarnwick::settings::outputFolderKey), outputFolder ? path(u"out"_s) : QString());
}

void tst_Window::dropWithoutFilesChangesNothing()
{
    form_->Text1->setText(u"/logs/r1.log"_s);
    form_->Text2->setText(u"typed by hand"_s);
    QMimeData text;
    text.setText(u"dragged text"_s);
    QMimeData web;
    web.setUrls({QUrl(u"https://example.com/r9.log"_s)});
    for (const QMimeData *data : {&text, &web}) {
        for (QWidget *widget : std::initializer_list<QWidget *>{form_.get(), form_->Text1, form_->Text2, form_->Text3, form_->Command1})
            QVERIFY(!dragAndDrop(widget, *data));
    }
    // Whatever reaches the drop handler without a file is ignored too.
    form_->Form_OLEDragDrop(&text);
    form_->Form_OLEDragDrop(&web);
    form_->Form_OLEDragDrop(nullptr);
    QCOMPARE(form_->Text1->text(), u"/logs/r1.log"_s);
    QCOMPARE(form_->Text2->text(), u"typed by hand"_s);
    QCOMPARE(form_->Text3->text(), u"txt"_s);
}

void tst_Window::browseConfirmsOrCancels()
{
    form_->Text3->setText(u"txt"_s);
    QStringList offered;
    QList<QWidget *> parents;
    std::optional<QString> answer = u"/logs/router 1/r1"_s;
    form_->dialogs.openFile = [&](QWidget *parent, const QString &initial) -> std::optional<QString> {
        parents.append(parent);
        offered.append(initial);
        return answer;
    };
    form_->Command3->setFocus();
    QTest::mouseClick(form_->Command3, Qt::LeftButton);
    QCOMPARE(form_->Text1->text(), u"/logs/router 1/r1"_s);
    QCOMPARE(form_->Text2->text(), u"/logs/router 1/r1.txt"_s);
    QCOMPARE(QApplication::focusWidget(), form_->Text1);

    form_->Text2->setText(u"typed by hand"_s);
    answer.reset();
    QTest::mouseClick(form_->Command3, Qt::LeftButton);
    QCOMPARE(form_->Text1->text(), u"/logs/router 1/r1"_s);
    QCOMPARE(form_->Text2->text(), u"typed by hand"_s);
    QCOMPARE(offered, (QStringList{QString(), u"/logs/router 1/r1"_s}));
    QCOMPARE(parents, (QList<QWidget *>{form_.get(), form_.get()}));

    // After a restart, with an empty source box, the dialog starts in the last log's folder.
    const QString lastFolder = QDir::toNativeSeparators(QFileInfo(u"/logs/router 1/r1"_s).absolutePath());
    QVERIFY(readFile(form_->IniFile).contains("LastFolder=" + lastFolder.toUtf8()));
    frmTarnwick restarted;
    restarted.IniFile = form_->IniFile;
    restarted.loadSettings(tarnwick::settingsInForce({}, restarted.IniFile));
    restarted.dialogs.openFile = form_->dialogs.openFile;
    restarted.Command3_Click();
    QCOMPARE(offered.last(), lastFolder);
}

void tst_Window::openFileDialogListsLogsFirst_data()
{
    QTest::addColumn<QString>("initial"); // in the test's folder
    QTest::addColumn<bool>("logsShown");
    QTest::newRow("a log") << u"r1.log"_s << true;
    QTest::newRow("a capture named .txt") << u"r1.txt"_s << true;
    QTest::newRow("another kind of file") << u"r1.cap"_s << false;
    QTest::newRow("a folder") << QString() << true;
}

void tst_Window::openFileDialogListsLogsFirst()
{
    QFETCH(QString, initial);
    QFETCH(bool, logsShown);
    QFileDialog dialog;
    tarnwick::setUpOpenFileDialog(dialog, path(initial));
    QCOMPARE(dialog.nameFilters(), (QStringList{u"ログファイル (*.log *.txt)"_s, u"すべてのファイル (*)"_s}));
    QCOMPARE(dialog.selectedNameFilter(), dialog.nameFilters().at(logsShown ? 0 : 1));
    QCOMPARE(QDir(dialog.directory()), QDir(dir_->path()));
    QVERIFY(dialog.width() >= 640);
}

void tst_Window::outputFollowsSourceOnly()
{
    form_->Text3->setText(u"txt"_s);
    QTest::keyClicks(form_->Text1, u"/my.logs/r1.log"_s);
    QCOMPARE(form_->Text2->text(), u"/my.logs/r1.txt"_s);
    form_->Text2->setText(u"/elsewhere/out.txt"_s);
    form_->Text3->setText(u"cleaned"_s);
    QCOMPARE(form_->Text2->text(), u"/elsewhere/out.txt"_s);
    form_->Text1->setText(u"/my.logs/r2.log"_s);
    QCOMPARE(form_->Text2->text(), u"/my.logs/r2.cleaned"_s);
    QCOMPARE(form_->Text1->Tag, u"/my.logs/r2"_s);
}

void tst_Window::refusesMissingPaths()
{
    form_->Text3->setFocus();
    QVERIFY(!form_->Command1_Click());
    QCOMPARE(QApplication::focusWidget(), form_->Text1);

    form_->Check1->setChecked(true); // an empty output path is refused even when overwriting
    form_->Text1->setText(path(u"r1.log"_s));
    QVERIFY(!form_->Text2->isEnabled()); // the output path is not written
    form_->Text2->clear();
    form_->Text3->setFocus();
    QVERIFY(!form_->Command1_Click());
    QCOMPARE(QApplication::focusWidget(), form_->Text2);
    QCOMPARE(form_->Command1->text(), u"変 換"_s);

    form_->Text2->setText(u" "_s); // blanks are a path
    writeFile(path(u"r1.log"_s), "abc\n");
    QVERIFY(form_->Command1_Click());
    form_->Check1->setChecked(false);
    QVERIFY(form_->Text2->isEnabled());
}

void tst_Window::convertsAndShowsStates()
{
    writeFile(path(u"r1.log"_s), manyLines(1000) + "bold \x1b[1mtext\n");
    form_->Text3->setText(u"txt"_s);
    form_->Text1->setText(path(u"r1.log"_s));
    struct State {
        bool convertEnabled, exitEnabled, othersEnabled;
        QString convertCaption, exitCaption;
    };
    QList<State> states;
    const auto record = [&] {
        const bool others = form_->Text1->isEnabled() && form_->Text2->isEnabled() && form_->Text3->isEnabled()
            && form_->Check1->isEnabled() && form_->Check2->isEnabled() && form_->Command3->isEnabled();
        states.append({form_->Command1->isEnabled(), form_->Command2->isEnabled(), others, form_->Command1->text(), form_->Command2->text()});
    };
    duringRun(*form_, [&] {
        record();
        // A drop during the run changes the boxes, not the run.
        QMimeData other;
        other.setUrls({QUrl::fromLocalFile(path(u"r2.log"_s))});
        dragAndDrop(form_->Label1, other);
        // The controls setting holds from the next run: the run read it at its start.
        form_->controlsItem->trigger();
    });
    form_->Command1->setFocus();
    QTest::mouseClick(form_->Command1, Qt::LeftButton);
    record();

    QCOMPARE(QApplication::focusWidget(), form_->Command1); // not on the exit button, where Space would end the program
    QVERIFY(form_->testAttribute(Qt::WA_KeyboardFocusChange)); // and it shows its focus frame
    QCOMPARE(states.size(), 2);
    QVERIFY(!states[0].convertEnabled && states[0].exitEnabled && states[0].othersEnabled);
    QCOMPARE(states[0].convertCaption, u"0 / 100"_s);
    QCOMPARE(states[0].exitCaption, u"中 断"_s);
    QVERIFY(states[1].convertEnabled && states[1].exitEnabled);
    QCOMPARE(states[1].convertCaption, u"変 換"_s);
    QCOMPARE(states[1].exitCaption, u"終 了"_s);
    QCOMPARE(readFile(path(u"r1.txt"_s)), times("R1#show run\r\n", 1000) + "bold \x1b[1mtext\r\n");
    QVERIFY(form_->ControlsOn);
    QCOMPARE(form_->Text2->text(), path(u"r2.txt"_s));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), (QStringList{u"r1.log"_s, u"r1.txt"_s, u"Tarnwick.ini"_s}));
    QVERIFY(failures_.isEmpty());
    // What happened shows without a dialog, until the source path changes.
    QCOMPARE(resultLine(form_->Label4), u"変換しました。r1.txt（1,001 行）"_s);
    QCOMPARE(form_->Label4->toolTip(), u"変換しました。%1 に 1,001 行を書き出しました。"_s.arg(path(u"r1.txt"_s)));
    form_->Text1->setText(path(u"r3.log"_s));
    QCOMPARE(form_->Label4->text(), u"ログファイルから BackSpace(0x08) を取り除きます。"_s);
}

void tst_Window::reportsFailureOnceWhenIdle_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("message"); // %1 the source
    QTest::addColumn<QStringList>("named"); // the controls and menu items it names
    // In Japanese, the reason too, whatever the locale.
    QTest::newRow("missing log") << u"missing.log"_s << u"ファイル「%1」を開けませんでした。ファイルまたはフォルダーが見つかりません。"_s << QStringList();
    QTest::newRow("output is the log") << u"r1.txt"_s
                                       << u"ファイル「%1」は変換しませんでした。出力ファイルが変換元ログそのものになるためです。"
                                          u"ログファイル上書きをオンにするか、別の出力拡張子を選んでください。"_s
                                       << QStringList{u"Label1"_s, u"Check1"_s, u"Label3"_s};
    // "@" stands for the test's folder.
    QTest::newRow("another log gives the same output name") << u"192.168.1.2.log"_s
                                                            << u"ファイル「%1」は変換しませんでした。「@/192.168.1.1.log」からも同じ出力ファイル名になるため、"
                                                               u"今ある出力はそのログのものかもしれません。「ファイル名のドットを残す」をオンにすると、ログごとに別の出力になります。"_s
                                                            << QStringList{u"keepDotsItem"_s};
}

void tst_Window::reportsFailureOnceWhenIdle()
{
    QFETCH(QString, source);
    QFETCH(QString, message);
    QFETCH(QStringList, named);
    writeFile(path(u"r1.txt"_s), "R1#shpw\b\bow run\n");
    for (const QString &name : {u"192.168.1.1.log"_s, u"192.168.1.2.log"_s, u"192.txt"_s})
        writeFile(path(name), "R1#shpw\b\bow run\n");
    form_->Text3->setText(u"txt"_s);
    form_->Text1->setText(path(source));
    QTest::mouseClick(form_->Command1, Qt::LeftButton);
    QCOMPARE(failures_, QStringList{QDir::toNativeSeparators(message.arg(path(source)).replace(u'@', dir_->path()))});
    // The user finds what the message tells to turn on or to choose by the words the window shows.
    const std::map<QString, QString> shown = {{u"Label1"_s, form_->Label1->text()}, {u"Label3"_s, form_->Label3->text()},
                                              {u"Check1"_s, form_->Check1->text()}, {u"keepDotsItem"_s, form_->keepDotsItem->text()}};
    for (const QString &name : named)
        QVERIFY2(failures_.first().contains(shown.at(name)), qPrintable(name));
    QCOMPARE(readFile(path(u"192.txt"_s)), QByteArray("R1#shpw\b\bow run\n"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"キャンセル"_s);
    QVERIFY(!QFile::exists(form_->TempFile));
    QCOMPARE(readFile(path(u"r1.txt"_s)), QByteArray("R1#shpw\b\bow run\n"));
}

void tst_Window::progressFitsConvertButton_data()
{
    QTest::addColumn<QString>("text");
    QString done;
    QString total;
    for (int digits = 1; digits <= 10; ++digits) {
        done += u'9';
        total += u'9';
        QTest::addRow("%d digits", digits) << tarnwick::progressText(done.toULongLong() - (digits > 2 ? 99 : 0), total.toULongLong());
    }
}

void tst_Window::progressFitsConvertButton()
{
    QFETCH(QString, text);
    form_->Command1->setText(text);
    tarnwick::fitCaption(form_->Command1, form_->font());
    QStyleOptionButton option;
    option.initFrom(form_->Command1);
    const QRect room = form_->style()->subElementRect(QStyle::SE_PushButtonContents, &option, form_->Command1);
    QVERIFY2(QFontMetrics(form_->Command1->font()).horizontalAdvance(text) <= room.width(), qPrintable(text));
    QCOMPARE(form_->Command1->geometry(), QRect(96, 96, 97, 25));
    QVERIFY(form_->Command1->font().pointSizeF() <= form_->font().pointSizeF());
}

void tst_Window::abortKeepsWindowOpen_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::newRow("lines") << manyLines(1000);
    QTest::newRow("no line ends") << QByteArray(64 << 20, 'x');
}

void tst_Window::abortKeepsWindowOpen()
{
    QFETCH(QByteArray, source);
    writeFile(path(u"r1.log"_s), source);
    writeFile(path(u"r1.txt"_s), "an older output\r\n");
    form_->Text3->setText(u"txt"_s);
    form_->Text1->setText(path(u"r1.log"_s));
    bool aborting = false;
    duringRun(*form_, [&] {
        QTest::mouseClick(form_->Command2, Qt::LeftButton);
        aborting = !form_->Command2->isEnabled() && form_->Command2->text() == u"中 断"_s;
    });
    form_->Command1->setFocus();
    const auto outcome = form_->Command1_Click();
    QVERIFY(aborting);
    QCOMPARE(QApplication::focusWidget(), form_->Command1); // not on the check box the focus passed to
    QCOMPARE(outcome->status, tarnwick::RunOutcome::Status::Aborted);
    QVERIFY(form_->isVisible());
    QCOMPARE(form_->Command2->text(), u"終 了"_s);
    QVERIFY(form_->Command1->isEnabled() && form_->Command2->isEnabled());
    QCOMPARE(readFile(path(u"r1.txt"_s)), QByteArray("an older output\r\n"));
    QVERIFY(!QFile::exists(form_->TempFile));
    QCOMPARE(resultLine(form_->Label4), u"中断しました。出力は元のままです。"_s);
}

void tst_Window::closingDuringRunAbortsThenCloses()
{
    const QByteArray source = manyLines(1000);
    writeFile(path(u"r1.log"_s), source);
    form_->Check1->setChecked(true); // overwriting: the source must survive the abort
    form_->Text1->setText(path(u"r1.log"_s));
    bool openDuringRun = false;
    duringRun(*form_, [&] {
        form_->close();
        openDuringRun = form_->isVisible();
    });
    QCOMPARE(form_->Command1_Click()->status, tarnwick::RunOutcome::Status::Aborted);
    QVERIFY(openDuringRun);
    QVERIFY(!form_->isVisible());
    QCOMPARE(readFile(path(u"r1.log"_s)), source);
    QVERIFY(!QFile::exists(form_->TempFile));
}

void tst_Window::exitWhenIdleCloses()
{
    QTest::mouseClick(form_->Command2, Qt::LeftButton);
    QVERIFY(!form_->isVisible());
    QVERIFY(!QFile::exists(form_->IniFile));
}

void tst_Window::titlesWithVersion_data()
{
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("title");
    QTest::newRow("1.20") << 20 << u"Tarnwick Ver.1.20"_s;
    QTest::newRow("minor 5") << 5 << u"Tarnwick Ver.1.05"_s;
    QTest::newRow("minor 0") << 0 << u"Tarnwick Ver.1.00"_s;
}

void tst_Window::titlesWithVersion()
{
    QFETCH(int, minor);
    QFETCH(QString, title);
    QCOMPARE(tarnwick::titleWithVersion(u"Tarnwick"_s, 1, minor), title);
}

void tst_Window::centresWindow_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("usual screen") << QSize(1920, 1080) << QSize(313, 129) << QPoint(803, 475);
    QTest::newRow("odd difference") << QSize(800, 600) << QSize(313, 129) << QPoint(243, 235);
    QTest::newRow("window wider than screen") << QSize(300, 200) << QSize(313, 129) << QPoint(-6, 35);
}

void tst_Window::centresWindow()
{
    QFETCH(QSize, screen);
    QFETCH(QSize, window);
    QFETCH(QPoint, position);
    QCOMPARE(tarnwick::centredPosition(screen, window), position);
}

void tst_Window::loadsWindow()
{
    frmTarnwick form;
    const QString folder = dir_->path() + u'/';
    writeFile(folder + u"Tarnwick.ini"_s, "[Tarnwick]\nFileExt=cap\n");
    form.Form_Load(programStart());
    QCOMPARE(form.windowTitle(), u"Tarnwick Ver.1.20"_s);
    QVERIFY(!form.isVisible()); // shown by the caller
    QCOMPARE(form.IniFile, folder + u"Tarnwick.ini"_s);
    QCOMPARE(form.Text3->text(), u"cap"_s);
    QCOMPARE(form.TempFile, folder + tarnwick::temporaryFileName(static_cast<std::uint32_t>(QCoreApplication::applicationPid())));
    const QRect screen = form.screen()->geometry();
    QCOMPARE(form.pos(), screen.topLeft() + tarnwick::centredPosition(screen.size(), form.frameGeometry().size()));
}

void tst_Window::emptyTokensDoNotCount()
{
    writeFile(dir_->filePath(u"a.log"_s), "a\b\n");
    writeFile(dir_->filePath(u"b.log"_s), "b\n");
    frmTarnwick form;
    form.Form_Load(programStart());
    QStringList reported;
    const QStringList tokens = {dir_->filePath(u"a.log"_s), QString(), dir_->filePath(u"b.log"_s)};
    QStringList boxes; // the summary for a batch started from the desktop
    form.dialogs.showNotice = [&](QWidget *, const QString &message) { boxes.append(message); };
    QCOMPARE(tarnwick::runBatch(form, tokens, {}, [&](const tarnwick::Problem &problem) { reported.append(problem.file()); }, true), 0);
    QCOMPARE(reported, QStringList());
    QCOMPARE(readFile(dir_->filePath(u"b."_s + form.OutExt)), QByteArray("b\r\n"));
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].split(u'\n').mid(1), (QStringList{path(u"a."_s + form.OutExt), path(u"b."_s + form.OutExt)}));
}

// Asked at the window; no leaves the output as it was.
void tst_Window::asksBeforeConvertingNonText()
{
    writeFile(dir_->filePath(u"fw.log"_s), times("\x01\x02\x03x", 100));
    QStringList questions;
    form_->dialogs.ask = [&](QWidget *, const QString &question) {
        questions.append(question);
        return false;
    };
    form_->Text1->setText(path(u"fw.log"_s));
    const auto outcome = form_->Command1_Click();
    QVERIFY(outcome && outcome->status == tarnwick::RunOutcome::Status::Aborted);
    QCOMPARE(questions.size(), 1);
    QVERIFY(questions[0].contains(path(u"fw.log"_s)));
    QVERIFY(!QFile::exists(dir_->filePath(u"fw.txt"_s)));
}

void tst_Window::runSettingsShowWithoutWriting()
{
    const QByteArray profile = "[Tarnwick]\r\nFileExt=txt\r\nPager1=Hit * key\r\nSecret1=psk {}\r\n";
    writeFile(dir_->filePath(u"Tarnwick.ini"_s), profile);
    frmTarnwick form;
    tarnwick::RunSettings settings;
    settings.overWrite = settings.scroll = settings.controls = settings.keepDots = settings.mask = true;
    settings.fileExt = u"cfg"_s;
    settings.encoding = tarnwick::EncodingSetting::ShiftJis;
    settings.pagerPrompts = {u"-- * --"_s};
    settings.secretShapes = {u"wpa {}"_s};
    form.Form_Load(programStart(settings));
    QVERIFY(form.controlsItem->isChecked() && form.ControlsOn);
    QVERIFY(form.maskItem->isChecked() && form.MaskOn);
    QCOMPARE(form.Encoding, tarnwick::EncodingSetting::ShiftJis);
    QCOMPARE(form.encodingItems->checkedAction()->text(), u"Shift-JIS"_s);
    QVERIFY(form.Check1->isChecked() && form.OverWriteOn);
    QVERIFY(form.Check2->isChecked() && form.ScrollOn);
    QCOMPARE(form.Text3->text(), u"cfg"_s);
    QCOMPARE(form.OutExt, u"cfg"_s);
    form.Text1->setText(u"/logs/192.168.1.1.log"_s);
    QCOMPARE(form.Text2->text(), u"/logs/192.168.1.1.cfg"_s);
    // The profile's pager prompt and the command line's both apply, and so do their shapes of secrets.
    writeFile(dir_->filePath(u"r1.log"_s), "Hit the key\n-- Page 2 --\nkept\npsk K1\nwpa K1\n");
    form.Text1->setText(dir_->filePath(u"r1.log"_s));
    tarnwick::BatchOutputs outputs;
    QCOMPARE(form.convert(outputs)->status, tarnwick::RunOutcome::Status::Completed);
    QCOMPARE(readFile(dir_->filePath(u"r1.log"_s)), QByteArray("kept\r\npsk <secret-1>\r\nwpa <secret-1>\r\n"));
    QCOMPARE(resultLine(form.Label4), u"変換しました。r1.log（5 行、伏せた機密 2 件）"_s);
    QCOMPARE(readFile(dir_->filePath(u"Tarnwick.ini"_s)), profile);
}

void tst_Window::abortInBatchEndsOnlyCurrentFile()
{
    writeFile(dir_->filePath(u"first.log"_s), times("x\b\n", 5000));
    writeFile(dir_->filePath(u"second.log"_s), "a\b\n");
    frmTarnwick form;
    form.Form_Load(programStart());
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
    const int status = tarnwick::runBatch(form, {dir_->filePath(u"first.log"_s), dir_->filePath(u"second.log"_s)}, {},
                                          [&](const tarnwick::Problem &problem) { reported.append(problem.file() + u": "_s + tarnwick::problemReason(problem, tarnwick::Language::English)); }, true);
    QCOMPARE(status, 1);
    QCOMPARE(reported, QStringList{QDir::toNativeSeparators(dir_->filePath(u"first.log"_s)) + u": not converted: the conversion was aborted"_s});
    QCOMPARE(boxes.size(), 1);
    const QStringList lines = boxes[0].split(u'\n');
    QCOMPARE(lines.mid(1, 2), (QStringList{path(u"second."_s + form.OutExt), QString()}));
    QCOMPARE(lines.last(), QDir::toNativeSeparators(dir_->filePath(u"first.log"_s)) + u": 変換されませんでした: 中断されました"_s);
    QVERIFY(!form.isVisible());
    const QString extension = u"."_s + form.OutExt;
    QVERIFY(!QFile::exists(dir_->filePath(u"first"_s + extension)));
    QCOMPARE(readFile(dir_->filePath(u"second"_s + extension)), QByteArray("\r\n"));
    QVERIFY(!QFile::exists(form.TempFile));
}

void tst_Window::closingEndsBatch_data()
{
    QTest::addColumn<bool>("duringRun"); // else between the two files
    QTest::newRow("window closed during the first run") << true;
    QTest::newRow("exit button between the files") << false;
}

void tst_Window::closingEndsBatch()
{
    QFETCH(bool, duringRun);
    const QTemporaryDir dir;
    writeFile(dir.filePath(u"first.log"_s), times("x\b\n", 5000));
    writeFile(dir.filePath(u"second.log"_s), "a\b\n");
    frmTarnwick form;
    form.Form_Load(programStart());
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
    const int status = tarnwick::runBatch(form, {dir.filePath(u"first.log"_s), dir.filePath(u"second.log"_s)}, {},
                                          [&](const tarnwick::Problem &problem) { reported.append(problem.file() + u": "_s + tarnwick::problemReason(problem, tarnwick::Language::English)); });
    QCOMPARE(status, 1);
    QCOMPARE(reported.last(), QDir::toNativeSeparators(dir.filePath(u"second.log"_s)) + u": not converted: the batch was ended"_s);
    QVERIFY(!form.isVisible());
    const QString extension = u"."_s + form.OutExt;
    QCOMPARE(QFile::exists(dir.filePath(u"first"_s + extension)), !duringRun);
    QVERIFY(!QFile::exists(dir.filePath(u"second"_s + extension)));
    QVERIFY(!QFile::exists(form.TempFile));
}

QTEST_MAIN(tst_Window)
#include "tst_window.moc"

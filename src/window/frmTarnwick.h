#pragma once

#include "batch/BatchWindow.h"
#include "batch/LogWalk.h"
#include "conversion/OutputName.h"
#include "conversion/ConversionRun.h"
#include "text/CharacterRule.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QWidget>

#include <atomic>
#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QCheckBox;
class QLabel;
class QMimeData;
class QPushButton;

namespace tarnwick {
class ParallelRuns;
struct RunStart;
struct SettingsInForce;
}

// A one-line text box that carries one free text value besides its text. The conversion run
// keeps the paths it works on there, and the output-name rule the base name.
class TextBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    QString Tag;
};

// The program's one window. Its handlers hold the program's logic, over the conversion engine
// and the profile settings.
class frmTarnwick : public QWidget, public tarnwick::BatchWindow, private tarnwick::RunHost {
    Q_OBJECT

public:
    explicit frmTarnwick(QWidget *parent = nullptr);

    // The controls, named as in the window's design.
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    TextBox *Text1;    // source log
    TextBox *Text2;    // output file
    TextBox *Text3;    // output extension
    QCheckBox *Check1; // overwrite the source log
    QCheckBox *Check2; // rebuild sideways-scrolled command lines
    QPushButton *Command1; // convert
    QPushButton *Command2; // exit; abort during a run
    QPushButton *Command3; // browse
    // Outside the designed layout: the check item of the window's context menu (a right-click
    // on its background or a label) that has terminal control sequences read.
    QAction *controlsItem;
    // Its check item that cuts the output name at the source name's last dot, not its first.
    QAction *keepDotsItem;
    // Its check item that masks the secrets of the output (see SecretMasker).
    QAction *maskItem;
    // Beside it, the submenu that chooses how the encoding of each log is found: its items in
    // the order automatic, system, UTF-8, Shift-JIS, one of them checked.
    QActionGroup *encodingItems;
    // Its check item by which a folder dropped stands for the logs of its subfolders too.
    QAction *recursiveItem;
    // The submenu of the output folder: beside each log (checked when no folder is set), the
    // folder set (shown only then, checked), and the item that chooses one.
    QAction *besideLogItem;
    QAction *outputFolderItem;
    QAction *chooseOutputFolderItem;

    // The form variables, shared by the handlers.
    QString IniFile;
    QString TempFile;
    QString TempFallback; // where TempFile cannot be made; empty for none
    QString OutExt;
    bool OverWriteOn = false;
    bool ScrollOn = false;
    bool ControlsOn = false;
    bool KeepDotsOn = false;
    bool MaskOn = false;
    QStringList PagerPrompts; // the user's, from the profile and the command line
    int ScreenRows = tarnwick::Screen::defaultHeight;
    QStringList SecretShapes; // likewise
    QStringList TimestampForms; // likewise
    tarnwick::EncodingSetting Encoding = tarnwick::EncodingSetting::Auto;
    QString OutputFolder; // where the outputs go; empty: beside each log
    bool RecursiveOn = false; // a folder dropped stands for the logs of its subfolders too
    tarnwick::LogChoice LogFiles; // the logs a folder dropped stands for
    int Jobs = 1; // logs dropped converted at once

    // The dialogs the window shows; tests put their own in place.
    struct Dialogs {
        // The chosen file's full path, or nothing when the user cancels.
        std::function<std::optional<QString>(QWidget *parent, const QString &initialFile)> openFile;
        std::function<void(QWidget *parent, const QString &message)> showFailure;
        std::function<void(QWidget *parent, const QString &message)> showNotice;
        // Yes or no to a question.
        std::function<bool(QWidget *parent, const QString &question)> ask;
        // The chosen folder's full path, or nothing when the user cancels.
        std::function<std::optional<QString>(QWidget *parent, const QString &initialFolder)> chooseFolder;
    } dialogs;

    // Start-up: centres the window, titles it with the version, takes the run's temporary and
    // profile files and shows the settings in force.
    void Form_Load(const tarnwick::RunStart &start);

    // One conversion of the source path into the output path; nothing when a path is missing.
    std::optional<tarnwick::RunOutcome> Command1_Click();
    // Exit, or the abort while a conversion runs.
    void Command2_Click();
    // Browse for the source log.
    void Command3_Click();
    void Check1_Click();
    void Check2_Click();
    void Text1_Change();
    void Text3_Change();
    // A drop anywhere on the window: one file becomes the source path; several, or a folder
    // (which stands for its logs), are converted as a batch (see convertDropped).
    void Form_OLEDragDrop(const QMimeData *dropped);
    // Converts the logs the paths stand for as a batch does, up to Jobs at once (one at a time,
    // in turn in the window, which shows each), with the count of files done (beside the count
    // of lines of the one shown), and tells at the end what was converted in the result line
    // (and, when something was not, each in a message box). An abort ends the logs being
    // converted, and no later one is converted.
    void convertDropped(const QStringList &paths);

    // Shows the settings in force (the profile's, or the command line's in their place) in the
    // controls and form variables, writing nothing into the profile.
    void loadSettings(const tarnwick::SettingsInForce &settings);

    // The window as a batch drives it.
    void showForBatch() override;
    bool isOpen() const override { return isVisible(); }
    void setSourcePath(const QString &path, const QString &tree = {}) override;
    std::optional<tarnwick::RunOutcome> convert(tarnwick::BatchOutputs &outputs) override;
    void showSummary(const tarnwick::BatchSummary &summary) override;
    void exit() override { Command2_Click(); }
    // Checks the encoding item of the setting in force, writing nothing.
    void showEncoding();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showProgress(const QString &text) override;
    void showShareRead(std::optional<int> percent) override;
    bool convertNonText() override;
    void processEvents() override;
    bool scrollOn() const override { return ScrollOn; }

    void reportFailure(const QString &message);
    // What the last run did, told in the place of the window's description until the source
    // path changes.
    void showOutcome(const tarnwick::RunOutcome &outcome);
    void keepControlsSetting();
    void keepKeepDotsSetting();
    void keepMaskSetting();
    void keepEncodingSetting();
    void keepRecursiveSetting();
    void chooseOutputFolder();
    // The output folder set, kept in the profile, shown in its submenu and in the output path.
    void keepOutputFolder(const QString &folder);
    void showOutputFolder();
    // With the overwrite setting the output path is not written: its box is shown disabled, unless
    // it is empty, which a conversion refuses and asks to be filled there.
    void showOutputPathInUse();
    // The result line under the buttons: the status and then the detail, each broken between
    // phrases, with the whole sentence in the tool tip.
    void showResultLine(const QString &status, const QString &detail, const QString &whole);
    // The logs dropped converted at once; true when they were aborted.
    bool convertDroppedAtOnce(tarnwick::LogWalk &walk, tarnwick::BatchSummary &summary, const std::function<void()> &oneDone);

    // The output's name for the source path, as the settings and the folder it was found in say.
    tarnwick::OutputNaming outputNaming() const;
    // The settings of a run, as the window shows them.
    tarnwick::RunOptions runOptions() const;

    tarnwick::CharacterRule characterRule_;
    // The source path that a batch set and the folder given that it was found in: the output
    // keeps its place below that folder while the path is that one.
    QString treePath_;
    QString tree_;
    QString lastFolder_; // where the open-file dialog starts when the source box is empty
    QString description_; // Label4's own text
    tarnwick::ConversionRun *activeRun_ = nullptr;
    QString filesDone_; // "3 / 120 files" while logs dropped are converted
    // The runs of logs dropped converted at once, and the abort that each takes at its next step.
    tarnwick::ParallelRuns *activeRuns_ = nullptr;
    std::atomic<bool> dropAborted_ = false;
    tarnwick::BatchOutputs *batchOutputs_ = nullptr; // of the batch whose run this is
    QElapsedTimer sinceEvents_;
    bool closeRequested_ = false; // the window was closed while a conversion ran
    bool unloaded_ = false;
};

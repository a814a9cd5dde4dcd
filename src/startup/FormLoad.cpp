// Start-up and the command-line batch.

#include "window/frmTarnwick.h"

#include "ArgumentText.h"
#include "ProgramFiles.h"
#include "Version.h"
#include "WindowSetup.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

using namespace tarnwick;

namespace {

// A number particular to this running window, for the name of its temporary file: there is
// one window per process, so two instances never share a temporary file.
std::uint32_t windowNumber()
{
    return static_cast<std::uint32_t>(QCoreApplication::applicationPid());
}

} // namespace

std::optional<int> frmTarnwick::Form_Load(const QStringList &arguments)
{
    if (const QScreen *display = screen())
        move(display->geometry().topLeft() + centredPosition(display->geometry().size(), frameGeometry().size()));
    setWindowTitle(titleWithVersion(windowTitle(), programVersion::majorNumber, programVersion::minorNumber));
    const ProgramFiles files = programFiles(runningProgramFolder(), windowNumber());
    TempFile = files.temporaryFile;
    IniFile = files.profile;
    loadSettings();
    if (arguments.isEmpty())
        return std::nullopt;

    inBatch_ = true;
    QStringList unquotable;
    const QString text = argumentText(arguments, &unquotable);
    for (const QString &path : unquotable)
        reportFailure(QStringLiteral("Cannot take \"%1\": a path on the command line cannot hold a quotation mark").arg(path));
    show();
    QApplication::processEvents();
    const int status = runBatch(batchTokens(text));
    inBatch_ = false;
    return unquotable.isEmpty() ? status : 1;
}

// Converts each path as if it had been typed into the source box and the convert button
// pressed. The user may abort a file (the batch goes on with the next) or close the window
// (the batch ends there). The status is 0 when every path was converted.
int frmTarnwick::runBatch(const QStringList &paths)
{
    bool allConverted = true;
    for (const QString &path : paths) {
        if (unloaded_)
            return 1;
        Text1->setText(path);
        QApplication::processEvents();
        if (unloaded_)
            return 1;
        const auto outcome = Command1_Click();
        if (outcome && outcome->status == RunOutcome::Status::Failed)
            reportFailure(outcome->message);
        if (outcome && outcome->status == RunOutcome::Status::Aborted)
            reportFailure(QStringLiteral("Conversion of \"%1\" aborted").arg(QDir::toNativeSeparators(path)));
        allConverted = allConverted && (!outcome || outcome->status == RunOutcome::Status::Completed);
        QApplication::processEvents();
    }
    if (unloaded_)
        return 1;
    Command2_Click();
    return allConverted ? 0 : 1;
}

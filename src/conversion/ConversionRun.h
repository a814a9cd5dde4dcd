#pragma once

#include "BatchOutputs.h"
#include "OutputName.h"
#include "Screen.h"
#include "SourceEncoding.h"
#include "platform/FileIdentity.h"
#include "platform/TemporaryFile.h"
#include "text/CharacterRule.h"
#include "text/TextInput.h"
#include "text/TextOutput.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace tarnwick {


// What a conversion run needs of the window or batch that drives it.
class RunHost {
public:
    // The progress text ("300 / 1200") to show while the run goes on.
    virtual void showProgress(const QString &text) = 0;
    // Called every 100 lines of each pass, and in the normalising pass also after every 8 MiB
    // read since the last call; the host lets pending events run there, and an abort() or
    // interrupt() it makes takes effect when this returns.
    virtual void processEvents() = 0;
    // The scroll setting, asked for every line of the cleaning pass.
    virtual bool scrollOn() const = 0;
    // How much of the source the first pass has read, in per cent of the size it had when it was
    // opened, each time that share grows (a source of no known size, a FIFO, tells none); nothing
    // once the cleaning pass begins. The progress text of that pass counts lines it cannot know
    // the end of; a host that shows nothing of it need not listen.
    virtual void showShareRead(std::optional<int> percent) { static_cast<void>(percent); }
    // Whether to convert a source whose start does not look like text (see looksLikeText); a host
    // that cannot ask (a batch) converts it, and the outcome says so.
    virtual bool convertNonText() { return true; }

protected:
    ~RunHost() = default;
};

struct RunPaths {
    QString source;
    QString output;
    QString temporary;
    // Where the temporary file is made when it cannot be made at `temporary`; empty for none.
    QString temporaryFallback{};
};

struct RunOptions {
    // Terminal control sequences and carriage returns read (see LineCleaning).
    bool controlsOn = false;
    // The user's pager prompts, dropped with controlsOn (see PagerPrompts).
    QStringList pagerPrompts{};
    // The user's forms of timestamps, kept with the known ones (see Timestamps).
    QStringList timestamps{};
    // The output is meant to replace the source (the overwrite setting); without it, an output
    // that is the source file itself is refused.
    bool replacesSource = false;
    // The outputs of the batch this run belongs to, which it must not replace; it adds its own.
    BatchOutputs *batch = nullptr;
    // The rule the output's name came from, so that an existing output whose name another log
    // of the folder gives too is not replaced (see BatchOutputs::otherLogNamedAlike).
    std::optional<OutputNaming> naming{};
    // The secrets of the cleaned lines masked (see SecretMasker), the user's shapes with the
    // known ones.
    bool masking = false;
    QStringList secretShapes{};
    // How the source's encoding is found; System reads it by the rule the run is given.
    EncodingSetting encoding = EncodingSetting::System;
    // The rows of the screen on which terminal controls are read (see Screen).
    int screenHeight = Screen::defaultHeight;
    // The size of each read and write of the run's files.
    std::size_t bufferSize = TextInput::defaultBufferSize;
};

struct RunOutcome {
    enum class Status { Completed, Aborted, Failed };
    // What could not be done, when the run failed (the front ends word it).
    enum class Failure {
        None,
        OpenSource,
        ReadSource,
        CreateTemporary,
        WriteTemporary,
        ReadTemporary,
        DeleteTemporary,
        WriteOutput,
        OutputReadOnly,
        SourceIsTemporary,
        OutputIsSource,    // without the overwrite setting
        OutputOfAnother,   // written by the same batch for another source, named in `other`
        UntrustedLink,     // another user's link in a shared folder
        SourceNotAFile,    // a device, which has no end
        SourceChanged,     // the source to be replaced grew or changed while it was read
        OutputChanged,     // another file took the output's name while the run went on
        NameOfAnother,     // another log, named in `other`, gives the same output name
        LineTooLong,       // line `line` does not fit into memory
        OutputIsInput,     // standard output is the source file
    };
    Status status = Status::Completed;
    Failure failure = Failure::None;
    QString file;   // the file concerned, in native separators
    QString reason; // the system's reason, where it gave one
    QString other;  // another file the failure concerns, in native separators
    // What the output holds when the run wrote one (completed, or aborted while cleaning): its
    // path in native separators and the source lines cleaned into it. Empty when none was written.
    QString output;
    std::uint64_t lines = 0;
    std::uint64_t line = 0;     // the source line a failure concerns
    bool sourceGrew = false;    // completed, from a source that was written to while it was read
    bool notText = false;       // completed, from a source whose start did not look like text
    // Completed, from a source with pager prompts left as text and not one BackSpace, ESC or
    // carriage return: a terminal program's plain-text log, which dropped the corrections typed
    // before saving.
    bool erasersLost = false;
    // With masking on, the secrets masked in what was written.
    std::optional<std::uint64_t> secretsMasked{};
};

// "9,934,400 / 15,000,048".
QString progressText(std::uint64_t done, std::uint64_t total);

// The outcome of a run that failed at `failure` on the file at `path`.
RunOutcome failedOutcome(RunOutcome::Failure failure, const QString &path, const QString &reason = {}, const QString &other = {});

// One conversion of a source log into a cleaned output file, in two passes: the normalising
// pass copies the source into the temporary file with every CR dropped and every LF written as
// CR LF; the cleaning pass hands each line of it to the line cleaner.
//
// The source is never destroyed: the output is written beside its target and takes its place
// only when the run ends. An output that is the source itself is refused unless the run is
// meant to replace the source, and so is another user's link in a shared folder (see
// linkMayBeFollowed). The temporary file is this run's own (see TemporaryFile): a name
// that is taken is left alone and another is used. A run aborted in the cleaning pass still keeps the lines cleaned so
// far, unless the output is the source itself, which then stays as it was. A failure leaves an
// existing output as it was.
class ConversionRun {
public:
    ConversionRun(RunPaths paths, CharacterRule rule, RunHost &host, RunOptions options = {});

    RunOutcome run();

    // Ends the current pass as if its input had been read to the end: the normalising pass
    // then skips the cleaning pass. Meant to be called from RunHost::processEvents().
    void abort() { aborted_ = true; }
    // Ends the run as abort() does, but keeps nothing: the output is not written even where an
    // abort keeps the lines cleaned so far. An ending signal (see EndingSignals.h) does this
    // by itself at the next progress step.
    void interrupt() { aborted_ = interrupted_ = true; }

private:
    RunOutcome runPasses();
    bool openFiles();
    bool normalise();
    bool clean();
    bool sourceKept();
    bool fail(RunOutcome::Failure failure, const QString &path, const QString &reason = {}, const QString &other = {});
    bool mayWriteOutput();
    RunOutcome finish(RunOutcome::Status status);
    // Counts one line of the current pass; every 100 lines the host shows progress and may act.
    void lineDone(std::uint64_t &done)
    {
        if (++block_ == 100)
            progressStep(done);
    }
    void progressStep(std::uint64_t &done);
    // Window events (an abort, a close) and an ending signal take effect here.
    void letEventsRun();
    void noteEndingSignal();
    void showProgress(std::uint64_t done);

    RunPaths paths_;
    CharacterRule rule_;
    RunHost &host_;
    RunOptions options_;
    TemporaryFile temporary_;
    TextInput source_;
    TextOutput output_;
    std::optional<FileState> sourceState_;
    std::uint64_t line_ = 0; // the line the cleaning pass is at
    bool aborted_ = false;
    bool interrupted_ = false;
    bool outputIsSource_ = false;
    bool cleaning_ = false;
    std::uint64_t total_ = 0;
    std::uint64_t block_ = 0;
    std::size_t readSinceEvents_ = 0;
    RunOutcome failure_;
    std::uint64_t cleaned_ = 0; // lines cleaned into the output that was written
    bool written_ = false;
    bool sourceGrew_ = false;
    bool notText_ = false;
    bool sourceHeldErasers_ = false;
    bool linesMixed_ = false; // the source's lines are in two encodings
    bool erasersLost_ = false;
    std::string_view byteOrderMark_;
    std::optional<QStringConverter::Encoding> outputEncoding_;
    std::optional<std::uint64_t> secretsMasked_;
};

} // namespace tarnwick

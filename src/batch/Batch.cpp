#include "Batch.h"

#include "StandardError.h"
#include "platform/EndingSignals.h"
#include "platform/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

using namespace Qt::StringLiterals;

namespace tarnwick {

BatchPlan batchPlanOf(const SettingsInForce &settings)
{
    return {settings.logs, settings.outputFolder, settings.jobs};
}

namespace {

// Whether the folder at `path`, or a folder above it, is `folder`; a folder not yet made is
// looked for by the folders above it.
bool isAtOrBelow(const QString &path, const FileIdentity &folder, bool below)
{
    QString at = QDir::cleanPath(QDir(path).absolutePath());
    for (;;) {
        if (const auto identity = fileIdentity(at); identity && *identity == folder)
            return true;
        const QString above = QFileInfo(at).absolutePath();
        if (above == at || !below)
            return false;
        at = above;
    }
}

// The file as the batch's runs name it, the same whatever its spelling: for the order of the
// runs alone (case folded on every system: at worst two logs wait for each other needlessly).
QString runKey(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toCaseFolded();
}

// What the batch tells of one log and whether it counts as converted.
class Telling {
public:
    Telling(const BatchReport &report, BatchSummary &summary)
        : report_(report)
        , summary_(summary)
    {
    }

    void tell(const Problem &problem)
    {
        report_(problem);
        summary_.problems.append(problem);
        allConverted_ = false;
    }

    void outcome(const QString &path, const std::optional<RunOutcome> &outcome)
    {
        const QString shown = QDir::toNativeSeparators(path);
        if (outcome && outcome->status == RunOutcome::Status::Completed)
            summary_.outputs.append(QDir::toNativeSeparators(outcome->output));
        if (outcome && outcome->status == RunOutcome::Status::Failed)
            tell(problemOf(*outcome));
        if (outcome && outcome->sourceGrew)
            report_(problemOf(shown, NotConverted::SourceGrew));
        if (outcome && outcome->notText)
            report_(problemOf(shown, NotConverted::NotText));
        if (const auto note = outcome ? maskedNote(shown, *outcome) : std::nullopt)
            report_(*note);
        if (outcome && outcome->status == RunOutcome::Status::Aborted && !endingSignal())
            tell(problemOf(shown, NotConverted::Aborted));
        allConverted_ = allConverted_ && (!outcome || outcome->status == RunOutcome::Status::Completed);
    }

    void leftOut() { allConverted_ = false; }
    bool allConverted() const { return allConverted_; }

private:
    const BatchReport &report_;
    BatchSummary &summary_;
    bool allConverted_ = true;
};

// One log at a time, in the window that shows it.
void convertInTurn(BatchWindow &window, LogWalk &walk, Telling &telling)
{
    BatchOutputs outputs;
    std::optional<WalkedLog> log = walk.next();
    for (; log && window.isOpen() && !endingSignal(); log = walk.next()) {
        if (log->problem) {
            telling.tell(*log->problem);
            continue;
        }
        window.setSourcePath(log->path, log->tree);
        QCoreApplication::processEvents();
        if (!window.isOpen() || endingSignal())
            break;
        telling.outcome(log->path, window.convert(outputs));
        QCoreApplication::processEvents();
    }
    if (endingSignal())
        return;
    // The window was closed: what was left is told, log by log.
    for (; log; log = walk.next()) {
        if (log->problem)
            telling.tell(*log->problem);
        else if (!log->path.isEmpty())
            telling.tell(problemOf(QDir::toNativeSeparators(log->path), NotConverted::BatchEnded));
        else
            telling.leftOut();
    }
}

// Up to `jobs` logs at once, each on a thread of its own; what is told of each is told in the
// logs' order, once the logs before it are told.
class Jobs {
public:
    Jobs(int jobs, Telling &telling)
        : jobs_(jobs)
        , places_(std::size_t(jobs), false)
        , telling_(telling)
    {
    }
    ~Jobs() { finish(); }

    void add(const WalkedLog &log, std::optional<Conversion> conversion)
    {
        std::unique_lock lock(mutex_);
        if (!conversion) {
            queue_.push_back(std::make_unique<Job>(log));
            queue_.back()->done = true;
            tellDone(lock);
            return;
        }
        // A log waits for the one that writes what it reads or writes, and for a free place.
        const QString source = runKey(conversion->source);
        const QString output = runKey(conversion->output);
        const auto conflicts = [&] {
            return std::any_of(queue_.begin(), queue_.end(), [&](const std::unique_ptr<Job> &job) {
                return !job->done && (job->output == source || job->output == output || job->source == output);
            });
        };
        changed_.wait(lock, [&] {
            tellDone(lock);
            return running_ < jobs_ && !conflicts();
        });
        auto job = std::make_unique<Job>(log);
        job->source = source;
        job->output = output;
        job->place = int(std::find(places_.begin(), places_.end(), false) - places_.begin());
        places_[std::size_t(job->place)] = true;
        ++running_;
        job->thread = std::thread([this, run = std::move(conversion->run), raw = job.get()] {
            useForcedEndPlace(raw->place);
            RunOutcome outcome = run(outputs_);
            useForcedEndPlace(0);
            const std::lock_guard done(mutex_);
            raw->outcome = std::move(outcome);
            raw->done = true;
            places_[std::size_t(raw->place)] = false;
            --running_;
            changed_.notify_all();
        });
        queue_.push_back(std::move(job));
    }

    // Waits for every log and tells what is left to tell (nothing after an ending signal).
    void finish()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
            tellDone(lock);
            return running_ == 0;
        });
        tellDone(lock);
        for (const auto &job : queue_) {
            if (job->thread.joinable())
                job->thread.join();
        }
        queue_.clear();
    }

private:
    struct Job {
        explicit Job(WalkedLog walked)
            : log(std::move(walked))
        {
        }
        WalkedLog log;
        QString source;
        QString output;
        int place = 0;
        std::thread thread;
        std::optional<RunOutcome> outcome;
        bool done = false;
    };

    // Tells the logs at the front of the queue that are done, in order.
    void tellDone(std::unique_lock<std::mutex> &lock)
    {
        while (!queue_.empty() && queue_.front()->done) {
            std::unique_ptr<Job> job = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            if (job->thread.joinable())
                job->thread.join();
            if (!endingSignal()) {
                if (job->log.problem)
                    telling_.tell(*job->log.problem);
                else
                    telling_.outcome(job->log.path, job->outcome);
            }
            lock.lock();
        }
    }

    const int jobs_;
    std::vector<bool> places_;
    Telling &telling_;
    BatchOutputs outputs_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Job>> queue_;
    int running_ = 0;
};

void convertAtOnce(BatchWindow &window, LogWalk &walk, int jobs, Telling &telling)
{
    Jobs running(jobs, telling);
    while (!endingSignal()) {
        const std::optional<WalkedLog> log = walk.next();
        if (!log)
            break;
        running.add(*log, log->problem ? std::nullopt : window.conversionOf(*log));
    }
    running.finish();
}

} // namespace

std::optional<Problem> outputFolderRefusal(const BatchPlan &plan, const QStringList &given)
{
    if (plan.outputFolder.isEmpty())
        return std::nullopt;
    const QString shown = QDir::toNativeSeparators(plan.outputFolder);
    for (const QString &path : given) {
        const auto folder = QFileInfo(path).isDir() ? fileIdentity(path) : std::nullopt;
        if (folder && isAtOrBelow(plan.outputFolder, *folder, plan.logs.recursive))
            return problemOf(shown, NotConverted::OutputFolderInsideLogs, QDir::toNativeSeparators(path));
    }
    if (const QString error = madeFolder(plan.outputFolder); !error.isEmpty())
        return problemOf(shown, NotConverted::OutputFolderUnusable, error);
    return std::nullopt;
}

int runBatch(BatchWindow &window, const QStringList &paths, const BatchPlan &plan, const BatchReport &report, bool summarise, const QList<Problem> &refused)
{
    BatchSummary summary;
    Telling telling(report, summary);
    for (const Problem &problem : refused)
        telling.tell(problem);
    const auto refusal = outputFolderRefusal(plan, paths);
    if (refusal)
        telling.tell(*refusal);
    else {
        window.showForBatch();
        LogWalk walk(paths, plan.logs);
        // The window shows the one log it converts; without it, the batch asks for the runs.
        if (plan.jobs > 1 && window.runsApart())
            convertAtOnce(window, walk, plan.jobs, telling);
        else
            convertInTurn(window, walk, telling);
        if (const EndingSignal signal = endingSignal())
            return exitStatusOf(signal);
    }
    if (summarise)
        window.showSummary(summary);
    if (window.isOpen())
        window.exit();
    return refusal ? 2 : telling.allConverted() ? 0 : 1;
}

int runBatchOfLogs(BatchWindow &window, const QStringList &logs, const BatchPlan &plan, const QList<Problem> &refused, bool summarise)
{
    return runBatch(window, logs, plan, reportOnStandardError, summarise, refused);
}

} // namespace tarnwick

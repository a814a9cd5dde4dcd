#include "ParallelRuns.h"

#include "platform/EndingSignals.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tarnwick {

namespace {

// The file as the runs name it, the same whatever its spelling: for the order of the runs alone
// (case folded on every system: at worst two logs wait for each other needlessly).
QString runKey(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toCaseFolded();
}

} // namespace

ParallelRuns::ParallelRuns(int jobs, Told told, std::function<void()> whileWaiting)
    : jobs_(std::clamp(jobs, 1, mostRunsAtOnce))
    , told_(std::move(told))
    , whileWaiting_(std::move(whileWaiting))
    , places_(std::size_t(jobs_), false)
{
    pool_.setMaxThreadCount(jobs_);
}

ParallelRuns::~ParallelRuns()
{
    finish();
    pool_.waitForDone();
}

template<typename Ready> void ParallelRuns::waitUntil(QMutexLocker<QMutex> &lock, Ready ready)
{
    // As often as a window lets its events run during a run of its own.
    constexpr int eventIntervalMs = 20;
    for (;;) {
        tellDone(lock);
        if (ready())
            return;
        if (!whileWaiting_) {
            changed_.wait(&mutex_);
            continue;
        }
        changed_.wait(&mutex_, QDeadlineTimer(eventIntervalMs));
        lock.unlock();
        whileWaiting_();
        lock.relock();
    }
}

void ParallelRuns::add(const WalkedLog &log, std::optional<Conversion> conversion)
{
    QMutexLocker lock(&mutex_);
    auto job = std::make_unique<Job>();
    job->log = log;
    if (!conversion) {
        job->done = true;
        queue_.push_back(std::move(job));
        tellDone(lock);
        return;
    }
    job->source = runKey(conversion->source);
    job->output = runKey(conversion->output);
    const auto conflicts = [&] {
        return std::any_of(queue_.begin(), queue_.end(), [&](const std::unique_ptr<Job> &other) {
            return !other->done && (other->output == job->source || other->output == job->output || other->source == job->output);
        });
    };
    waitUntil(lock, [&] { return running_ < jobs_ && !conflicts(); });
    job->place = int(std::find(places_.begin(), places_.end(), false) - places_.begin());
    places_[std::size_t(job->place)] = true;
    ++running_;
    Job *raw = job.get();
    pool_.start([this, raw, run = std::move(conversion->run)] {
        useForcedEndPlace(raw->place);
        RunOutcome outcome = run(outputs_);
        useForcedEndPlace(0);
        const QMutexLocker done(&mutex_);
        raw->outcome = std::move(outcome);
        raw->done = true;
        places_[std::size_t(raw->place)] = false;
        --running_;
        changed_.wakeAll();
    });
    queue_.push_back(std::move(job));
}

void ParallelRuns::finish()
{
    QMutexLocker lock(&mutex_);
    waitUntil(lock, [&] { return queue_.empty(); });
}

// Tells the logs at the front of the queue that are done, in order; nothing is told after an
// ending signal, as one log at a time tells nothing of the run it ended.
void ParallelRuns::tellDone(QMutexLocker<QMutex> &lock)
{
    while (!queue_.empty() && queue_.front()->done) {
        std::unique_ptr<Job> job = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        if (!endingSignal())
            told_(job->log, job->outcome);
        lock.relock();
    }
}

} // namespace tarnwick

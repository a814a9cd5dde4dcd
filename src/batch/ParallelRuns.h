#pragma once

#include "BatchWindow.h"
#include "LogWalk.h"

#include <QMutex>
#include <QString>
#include <QThreadPool>
#include <QWaitCondition>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tarnwick {

// Up to `jobs` conversions at once, each on a thread of its own, and what is told of each in the
// order the logs were added, once the logs before it are told. A log whose source or output is
// what a running log reads or writes waits for that one, so the files end as they would one log
// at a time. All its calls come from one thread, the one that tells.
class ParallelRuns {
public:
    // A log added without a conversion (a folder's problem, an empty path) is told in its turn,
    // without an outcome.
    using Told = std::function<void(const WalkedLog &log, const std::optional<RunOutcome> &outcome)>;
    // `whileWaiting`, where given, is called now and then while the runs are waited for, so that a
    // window's events run.
    ParallelRuns(int jobs, Told told, std::function<void()> whileWaiting = {});
    ~ParallelRuns();
    ParallelRuns(const ParallelRuns &) = delete;
    ParallelRuns &operator=(const ParallelRuns &) = delete;

    void add(const WalkedLog &log, std::optional<Conversion> conversion);
    // Waits for every log, and tells them.
    void finish();

private:
    struct Job {
        WalkedLog log;
        QString source; // as runKey gives them
        QString output;
        int place = 0;
        std::optional<RunOutcome> outcome;
        bool done = false;
    };
    template<typename Ready> void waitUntil(QMutexLocker<QMutex> &lock, Ready ready);
    void tellDone(QMutexLocker<QMutex> &lock);

    const int jobs_;
    Told told_;
    std::function<void()> whileWaiting_;
    std::vector<bool> places_; // the ending signals' places of the files left behind, in use
    BatchOutputs outputs_;
    // The toolkit's, as the threads are: the C++ library's would go through a POSIX layer on
    // Windows that the toolkit's threads were not made by.
    QMutex mutex_;
    QWaitCondition changed_;
    std::deque<std::unique_ptr<Job>> queue_;
    int running_ = 0;
    // The toolkit's own threads, not ones it must adopt: the runs' files are objects of the
    // toolkit, and on Windows the end of an adopted thread is cleaned up in a way that failed
    // there. Waited for before the rest is destroyed: a run's last step unlocks mutex_.
    QThreadPool pool_;
};

} // namespace tarnwick

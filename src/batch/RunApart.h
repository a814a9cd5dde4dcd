#pragma once

#include "conversion/ConversionRun.h"

#include <QMutex>
#include <QString>

#include <atomic>

namespace tarnwick {

// The host of a run on a thread of its own, beside others: there are no events to let run, a
// source that does not look like text is converted (the outcome says so, as in a batch), the
// latest progress text is kept for the thread that shows it, and an abort asked from another
// thread takes effect at the run's next progress step, on the run's own thread.
class ApartHost final : public RunHost {
public:
    explicit ApartHost(bool scroll)
        : scroll_(scroll)
    {
    }

    // The run it hosts, for its abort; made on the run's thread before the run begins.
    void attach(ConversionRun &run) { run_ = &run; }
    // From any thread.
    void abort() { abortAsked_ = true; }
    QString progress() const
    {
        const QMutexLocker lock(&mutex_);
        return progress_;
    }

private:
    void showProgress(const QString &text) override
    {
        const QMutexLocker lock(&mutex_);
        progress_ = text;
    }
    void processEvents() override
    {
        if (abortAsked_ && run_)
            run_->abort();
    }
    bool scrollOn() const override { return scroll_; }

    const bool scroll_;
    ConversionRun *run_ = nullptr;
    std::atomic<bool> abortAsked_ = false;
    mutable QMutex mutex_;
    QString progress_;
};

} // namespace tarnwick

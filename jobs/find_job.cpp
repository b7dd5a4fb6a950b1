#include "jobs/find_job.h"

#include <utility>

#include <QCoreApplication>
#include <QDeadlineTimer>

TFindThread::TFindThread(QObject* parent) : QObject(parent) {}

TFindThread::~TFindThread() {
    if (!thread_) return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    // A report of a running search waits for its receiver on this thread.
    while (!thread_->wait(QDeadlineTimer(10))) QCoreApplication::processEvents();
}

bool TFindThread::Request(const TLGPFile& archive, TFindRequest request) {
    return Start(archive, std::move(request));
}

bool TFindThread::Prepare(const TLGPFile& archive) { return Start(archive, std::nullopt); }

bool TFindThread::Start(const TLGPFile& archive, std::optional<TFindRequest> request) {
    {
        const std::lock_guard lock(mutex_);
        if (searching_) return false;
    }
    texts_.Update(archive);
    {
        const std::lock_guard lock(mutex_);
        request_ = std::move(request);
        searching_ = true;
        pending_ = true;
    }
    if (!thread_) {
        thread_.reset(QThread::create([this] { Loop(); }));
        thread_->start();
    }
    wake_.notify_one();
    return true;
}

bool TFindThread::Searching() const {
    const std::lock_guard lock(mutex_);
    return searching_;
}

void TFindThread::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || stopping_; });
        // A search asked for runs even when the end is near: its requester waits for it.
        if (!pending_) return;
        pending_ = false;
        const std::optional<TFindRequest> request = std::move(request_);
        lock.unlock();
        if (request) {
            Search(*request);
        } else {
            texts_.DecodeAll();
        }
        lock.lock();
        searching_ = false;
        lock.unlock();
        emit idle();
        lock.lock();
    }
}

void TFindThread::Search(const TFindRequest& request) {
    emit started();
    int shown = -1;
    const std::optional<lgp::TextHit> hit =
        lgp::FindText(texts_, request.rows, request.mode, request.start, request.search,
                      request.matchCase, [this, &shown](int percent) {
                          if (percent == shown) return;
                          shown = percent;
                          emit progress(percent);
                      });
    emit ended();
    if (hit) {
        emit found(hit->row, hit->subFile, hit->text, static_cast<qint64>(hit->position),
                   static_cast<qint64>(request.search.size()));
    } else {
        emit notFound();
    }
}

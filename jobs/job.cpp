#include "jobs/job.h"

#include <exception>
#include <memory>
#include <utility>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QThread>

#include "jobs/qt_strings.h"

TJob::TJob(QString failureText, bool quiet, QObject* parent)
    : QObject(parent), failureText_(std::move(failureText)), quiet_(quiet) {}

void TJob::Run() {
    if (!quiet_) emit started();
    bool succeeded = false;
    bool calledOff = false;
    QString detail;
    try {
        Work();
        succeeded = true;
    } catch (const jobs::JobCancelled&) {
        calledOff = true;
    } catch (const std::exception& error) {
        detail = jobs::fromUtf8(error.what());
    } catch (...) {
        detail = QStringLiteral("unknown error");
    }
    if (calledOff) {
        emit cancelled();
    } else if (!succeeded) {
        emit failed(failureText_, detail);
    }
    emit finished(succeeded);
}

void TJob::StartDetached() {
    QThread* thread = QThread::create([this] { Run(); });
    thread_ = thread;
    // Both live on the calling thread, so both are deleted there, after the run has ended.
    connect(thread, &QThread::finished, this, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void TJob::RunAndWait() {
    const std::unique_ptr<QThread> thread(QThread::create([this] { Run(); }));
    thread->start();
    thread->wait();
}

void TJob::WaitForEnd() {
    // The thread is deleted through the event loop of the thread that waits here, which is
    // busy waiting: it still exists.
    if (thread_ == nullptr) return;
    constexpr int kServeEveryMilliseconds = 10;
    while (!thread_->wait(QDeadlineTimer(kServeEveryMilliseconds))) {
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

void TJob::ReportProgress(int current, qint64 count) {
    current_ = current;
    const int percent = static_cast<int>((current + qint64{1}) * 100 / count);
    // The bar shows whole percents: a report that would not move it would only hold the
    // worker up while the window repaints nothing.
    if (percent == percent_) return;
    percent_ = percent;
    emit progress(percent);
}

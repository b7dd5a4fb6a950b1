#pragma once

#include <atomic>

#include <QObject>
#include <QString>

class QThread;

namespace jobs {

// Thrown by a job's work when the user called it off: the job ends as cancelled, not failed.
struct JobCancelled {};

}  // namespace jobs

// A background job of the editor. It runs once, on a thread of its own, and tells the window
// what happens through its signals only; windows connect to them with
// Qt::BlockingQueuedConnection, so the job waits while the window handles each one.
class TJob : public QObject {
    Q_OBJECT

public:
    // failureText: the interface text that `failed` carries; a quiet job emits no `started`.
    TJob(QString failureText, bool quiet, QObject* parent = nullptr);

    // Does the work on the calling thread and returns when it has ended. Emits `started`
    // (unless quiet), `progress` as the work advances, `failed` if it went wrong (`cancelled`
    // instead when the work threw jobs::JobCancelled), and `finished` in every case, in that order.
    // Exceptions do not leave it.
    void Run();
    // Runs the job on a new thread and returns at once. The job and its thread free
    // themselves once it has ended, through the calling thread's event loop: the caller
    // must not delete the job.
    void StartDetached();
    // Runs the job on a new thread and waits for its end; the caller keeps the job. Receivers
    // connected with Qt::BlockingQueuedConnection must live on another thread, since this one
    // serves none while it waits.
    void RunAndWait();
    // Returns once a job started by StartDetached has ended (at once for any other), serving
    // meanwhile the calls that the job makes to its own thread, which must be the calling one.
    // Receivers of its signals must not need the calling thread: cut them off first.
    void WaitForEnd();

    bool Quiet() const { return quiet_; }
    // Index of the item last handled; stable while a `progress` receiver runs.
    int Current() const { return current_; }
    // For the language loader; takes effect for a job not yet started.
    void SetFailureText(const QString& text) { failureText_ = text; }

signals:
    void started();
    // Percent of the work done; rises, and reaches 100 with the last item.
    void progress(int percent);
    // message: the interface text to show; detail: the cause, for logs and not for the user.
    void failed(const QString& message, const QString& detail);
    // The user called the work off; it left nothing changed.
    void cancelled();
    void finished(bool succeeded);

protected:
    // Records `current` as handled out of `count` items, and emits `progress` with
    // (current + 1) * 100 div count when that differs from the percent last emitted.
    void ReportProgress(int current, qint64 count);

private:
    // The job's own work; reports failure by throwing.
    virtual void Work() = 0;

    QString failureText_;
    QThread* thread_ = nullptr;
    const bool quiet_;
    std::atomic<int> current_ = 0;
    int percent_ = -1;
};

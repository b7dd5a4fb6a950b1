#include "tests/jobs/job_recorder.h"

#include <QThread>

void JobRecorder::Listen(const TJob& job) {
    const auto blocking = Qt::BlockingQueuedConnection;
    connect(&job, &TJob::started, this, [this] { Note(QStringLiteral("started")); }, blocking);
    connect(&job, &TJob::progress, this, [this](int percent) {
        Note({});
        percents.append(percent);
    }, blocking);
    connect(&job, &TJob::failed, this, [this](const QString& message, const QString& cause) {
        Note(QStringLiteral("failed ") + message);
        detail = cause;
    }, blocking);
    connect(&job, &TJob::finished, this, [this](bool succeeded) {
        Note(succeeded ? QStringLiteral("finished true") : QStringLiteral("finished false"));
        ended = true;
    }, blocking);
}

void JobRecorder::Note(const QString& event) {
    if (QThread::currentThread() != thread()) offThread = true;
    if (!event.isEmpty()) events.append(event);
}

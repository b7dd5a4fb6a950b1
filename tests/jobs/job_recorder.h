#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "jobs/job.h"

// Stands in for a window: records what a job reports, on the thread the recorder lives on,
// connected as windows connect (Qt::BlockingQueuedConnection).
class JobRecorder : public QObject {
public:
    void Listen(const TJob& job);

    // "started", "failed <message>", "finished true|false", in order of arrival.
    QStringList events;
    QList<int> percents;
    QString detail;
    bool ended = false;
    // A report ran on a thread other than the recorder's.
    bool offThread = false;

private:
    void Note(const QString& event);
};

#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QThread>

#include "lgp/lgp_file.h"
#include "lgp/text_search.h"

// What a search looks for, in which rows and from where.
struct TFindRequest {
    // Tagged text (Windows-1252, line breaks as CR LF).
    std::string search;
    bool matchCase = false;
    lgp::FindMode mode = lgp::FindMode::FromStart;
    // Table indices of the sub-files in the order the file list shows them.
    std::vector<int> rows;
    // From lgp::StartOfSearch, with the selection read when the request is made.
    lgp::SearchStart start;
};

// The editor's one find worker. Its thread starts with the first request and then stays,
// idle between searches, until the object is destroyed. It searches its own copies of the
// texts (lgp::SearchTexts), brought up to date by each request, and touches no window: it reports
// through its signals, in the order started, progress..., ended, then found or notFound, and
// last idle.
class TFindThread : public QObject {
    Q_OBJECT

public:
    explicit TFindThread(QObject* parent = nullptr);
    // Ends the thread and waits for it. A search asked for runs to its end first, and this
    // serves its receivers' events while it waits: call it where the receivers still exist.
    ~TFindThread() override;

    // On the thread this object belongs to, while no text can change: copies the texts that
    // changed since the last request and starts the search. A request made while a search
    // runs is dropped: returns false and changes nothing.
    bool Request(const TLGPFile& archive, TFindRequest request);
    // Copies the texts as Request does and decodes them on the worker thread, reporting
    // nothing, so that the first search after an archive is opened need not decode them.
    // Dropped, as a request is, while a search runs.
    bool Prepare(const TLGPFile& archive);
    // True from an accepted request (or preparation) until its last report has been handled.
    bool Searching() const;

signals:
    void started();
    // Share of the rows passed; emitted when it changes, reaching 100 when the range is done.
    void progress(int percent);
    // The search is over; found or notFound follows.
    void ended();
    // row: index into the request's rows; position and length: bytes of the tagged text.
    void found(int row, int subFile, int text, qint64 position, qint64 length);
    void notFound();
    // The search (or preparation) has ended and its reports have been handled: a request is
    // accepted again. Sent from the searching thread, without waiting for its receivers.
    void idle();

private:
    // Starts a search, or a preparation when there is no request.
    bool Start(const TLGPFile& archive, std::optional<TFindRequest> request);
    void Loop();
    void Search(const TFindRequest& request);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool searching_ = false;
    bool pending_ = false;
    bool stopping_ = false;
    std::optional<TFindRequest> request_;
    // Touched by the request while idle and by the search while it runs, never both at once.
    lgp::SearchTexts texts_;
    std::unique_ptr<QThread> thread_;
};

#pragma once

#include <vector>

#include <QObject>

#include "ui/editor_settings.h"

class TArchiveSession;
class TMainMenu;

// File > Recent archives, and where the user left each archive. Every archive the session
// opens (or saves as) goes first in the list, which keeps the kMostRecentArchives latest; an
// archive found in the list reopens at the file and text kept for it, and every selection in
// the open archive is kept as its place.
class TRecentArchives : public QObject {
    Q_OBJECT

public:
    // The session and the menu must outlive it.
    TRecentArchives(TArchiveSession& session, TMainMenu& menu, QObject* parent = nullptr);

    // The list as settings.ini keeps it, the most recent first.
    const std::vector<TRecentArchive>& entries() const { return entries_; }
    void setEntries(std::vector<TRecentArchive> entries);

private:
    void onOpened();
    // Puts the open archive first, keeping its place when the list holds it.
    void putFirst();
    // Keeps the session's selection as the open archive's place.
    void keepPlace();
    void updateMenu();

    TArchiveSession& session_;
    TMainMenu& menu_;
    std::vector<TRecentArchive> entries_;
    // From the end of an open (once its place is restored) until the next archive replaces it:
    // the selections of this time are the open archive's place.
    bool following_ = false;
};

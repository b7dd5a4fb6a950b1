#include "platform/interrupt_guard.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "platform/utf8_path.h"
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

#ifdef _WIN32
using PathText = std::wstring;
#else
using PathText = std::string;
#endif

constexpr int kSlots = 16;
constexpr std::size_t kLongestPath = 4095;

enum SlotState : int { kFree, kFilling, kHeld };

// A guarded path; the handler reads only the slots that are held, never one being filled.
struct Slot {
    std::atomic<int> state{kFree};
    PathText::value_type path[kLongestPath + 1];
};

Slot slots[kSlots];

// Removes every guarded file. Runs in a signal handler: lock-free atomics and the system's
// call alone.
void RemoveGuarded() {
    for (Slot& slot : slots) {
        if (slot.state.load() != kHeld) continue;
#ifdef _WIN32
        DeleteFileW(slot.path);
#else
        ::unlink(slot.path);
#endif
    }
}

#ifdef _WIN32

BOOL WINAPI OnConsoleEvent(DWORD) {
    // The file being written was opened to let others delete it: it goes when the process
    // ends, which the next handler, the system's, does.
    RemoveGuarded();
    return FALSE;
}

void Install() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

#else

void OnSignal(int signal) {
    RemoveGuarded();
    // Ends the process as the signal would have: raised again with its default action, it
    // arrives once this handler returns and no longer blocks it.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

void Install() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0) continue;
        // Ignored (as for a program started in the background) or someone else's: kept.
        if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) continue;
        struct sigaction handler {};
        handler.sa_handler = OnSignal;
        sigemptyset(&handler.sa_mask);
        ::sigaction(signal, &handler, nullptr);
    }
}

#endif

}  // namespace

InterruptGuard::InterruptGuard(const std::string& path) {
    static std::once_flag installed;
    std::call_once(installed, Install);
#ifdef _WIN32
    const PathText text = PathFromUtf8(path).wstring();
#else
    const PathText& text = path;
#endif
    if (text.size() > kLongestPath || text.find(PathText::value_type{}) != PathText::npos) return;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
        std::copy(text.begin(), text.end(), slots[i].path);
        slots[i].path[text.size()] = PathText::value_type{};
        slots[i].state.store(kHeld);
        slot_ = i;
        return;
    }
}

InterruptGuard::~InterruptGuard() { Release(); }

void InterruptGuard::Release() {
    if (slot_ >= 0) slots[slot_].state.store(kFree);
    slot_ = -1;
}

}  // namespace platform

#include "jobs/last_comparison.h"

#include <mutex>
#include <utility>

namespace jobs {

namespace {

std::mutex& Guard() {
    static std::mutex mutex;
    return mutex;
}

std::optional<TFilesComparison>& Stored() {
    static std::optional<TFilesComparison> comparison;
    return comparison;
}

}  // namespace

std::optional<TFilesComparison> LastComparison() {
    const std::lock_guard lock(Guard());
    return Stored();
}

void StoreLastComparison(TFilesComparison comparison) {
    const std::lock_guard lock(Guard());
    Stored() = std::move(comparison);
}

}  // namespace jobs

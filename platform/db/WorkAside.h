#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <utility>

namespace quorl::db {

// How often runAside() calls its tell while the work runs: well within the quarter
// second after which a window that does not redraw looks hung.
inline constexpr auto kTellInterval = std::chrono::milliseconds(50);

// Runs work on a thread of its own and calls tell on the calling thread every tell
// interval until it is done; returns what the work returns, or throws what it throws.
// Work that blocks for long (a commit syncing a large file, a VACUUM, an old file's
// blocks freed by a rename) so keeps no window from redrawing. Whatever the work uses
// (a database handle above all) the caller leaves alone until it returns.
template <typename Work>
auto runAside(Work work, const std::function<void()> &tell)
{
    auto running = std::async(std::launch::async, std::move(work));
    while (running.wait_for(kTellInterval) != std::future_status::ready)
        tell();
    return running.get();
}

} // namespace quorl::db

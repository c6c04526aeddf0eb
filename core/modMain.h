#pragma once

#include <memory>

namespace quorl {

class MDIMain;

// The program's entry: splash, database connection, event log, main window.
// Returns the main window when the program goes on running, or null when it
// must end (the database could not be opened or written and the user was told).
std::unique_ptr<MDIMain> Main(int splashMilliseconds = 1000);

} // namespace quorl

// The EDS as the engineer's options decide: from the device when the main
// window's option says so, else (or when that fails) from a file dialog.
#pragma once

class MainWindow;

/// Sets the window's EDS path; false, with a logged error, when none results.
bool obtainEds(MainWindow &window);

#pragma once

struct AppContext;

// Prints the configuration summary form, as it shows, on one page. A failure other than a
// cancelled file choice is reported. Returns whether a page was printed.
bool printSummary(AppContext &ctx);

// Opening a document or a web address with the desktop's default program.
#pragma once

#include <string>
#include <vector>

namespace platform {

// ---- Test hook ----
// While true, requests are only recorded in OpenedTargets, nothing is started; set by tests.
extern bool RecordShellOpens;
// Every address handed to the desktop (or recorded), oldest first, as "file://..." or as given.
extern std::vector<std::string> OpenedTargets;

// Called by the main menu's link and the options screen's Help button: a file name relative to
// the working directory, or an address with a scheme ("https://..."), is opened with the
// desktop's default program; false when the desktop refused.
bool OpenWithDesktop(const std::string& target);

}  // namespace platform

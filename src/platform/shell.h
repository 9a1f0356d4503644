// Opening a document or a web address with the desktop's default program.
#pragma once

#include <string>
#include <vector>

namespace platform {

// ---- Test hooks ----
// While true, requests are only recorded in OpenedTargets, nothing is started; set by tests.
extern bool RecordShellOpens;
// Every address handed to the desktop (or recorded), oldest first, as "file://..." or as given.
extern std::vector<std::string> OpenedTargets;
// Milliseconds an opener may run before it counts as showing the target (a browser started in
// the foreground keeps running); 2000, lengthened by tests on a busy machine.
extern int OpenerPatienceMs;

// Called by the main menu's link and the options screen's Help button: a data file of the game
// ("ReadMe.htm", found as GamePath finds it), or an address with a scheme ("https://..."), is
// handed to the desktop's openers in turn (xdg-open, gio open, sensible-browser, x-www-browser)
// until one takes it. If none does, a message box says where the file or address is. False
// when nothing opened it.
bool OpenWithDesktop(const std::string& target);

}  // namespace platform

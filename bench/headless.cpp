// The headless drivers, set in the environment before SDL or OpenAL start.
#include "headless.h"

#include <cstdlib>

void UseHeadlessDrivers() {
    static const bool set = [] {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("ALSOFT_DRIVERS", "null", 0);
        setenv("ALSOFT_LOGLEVEL", "0", 0);
        return true;
    }();
    static_cast<void>(set);
}

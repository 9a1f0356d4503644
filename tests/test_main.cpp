// The tests' entry: every test runs headless unless it chooses otherwise itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// SDL's dummy video and audio drivers, OpenAL Soft's null backend, and no desktop bus, so the
// tests need no display or sound card and the sanitizers see no library noise. A test may set
// its own value after this, before it starts a device (for example OpenAL Soft's wave-file
// backend). With PELMARO_TESTS_ON_DESKTOP=1 the video driver is left as it is, for tests run on an
// X desktop.
void ChooseHeadlessDrivers() {
    const char* settings[][2] = {{"SDL_VIDEODRIVER", "dummy"},
                                 {"SDL_AUDIODRIVER", "dummy"},
                                 {"ALSOFT_DRIVERS", "null"},
                                 {"ALSOFT_LOGLEVEL", "0"},
                                 {"SDL_FRAMEBUFFER_ACCELERATION", "0"},
                                 {"DBUS_SESSION_BUS_ADDRESS", "disabled:"}};
    const char* onDesktop = std::getenv("PELMARO_TESTS_ON_DESKTOP");
    const bool keepVideo = onDesktop != nullptr && std::string(onDesktop) == "1";
    for (const auto& setting : settings)
        if (!keepVideo || std::string(setting[0]) != "SDL_VIDEODRIVER")
            setenv(setting[0], setting[1], 1);
}

}  // namespace

int main(int argc, char** argv) {
    ChooseHeadlessDrivers();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The tests' entry: every test runs headless unless it chooses otherwise itself.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

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

// Every test speaks English, whatever the desktop running it speaks, and keeps its settings in a
// folder of its own, never the player's; a test may set its own language or folder after this.
void ChooseEnglishAndOwnSettings(const std::string& settingsHome) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(name);
    setenv("XDG_CONFIG_HOME", settingsHome.c_str(), 1);
}

}  // namespace

int main(int argc, char** argv) {
    ChooseHeadlessDrivers();
    const std::filesystem::path settingsHome = std::filesystem::temp_directory_path() /
                                               ("pelmaro_tests_config_" + std::to_string(getpid()));
    ChooseEnglishAndOwnSettings(settingsHome.string());
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(settingsHome, ignored);
    return result;
}

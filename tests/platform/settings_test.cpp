// Tests of the settings file: its place, its text, and that a bad or hostile file changes nothing.
#include "platform/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// A settings folder of the test's own under a fresh XDG_CONFIG_HOME.
class SettingsFile : public testing::Test {
  protected:
    void SetUp() override {
        config = fs::temp_directory_path() / ("pelmaro_settings_" + std::to_string(getpid()));
        fs::remove_all(config);
        fs::create_directories(config);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        file = config / "pelmaro" / "settings";
    }
    void TearDown() override { fs::remove_all(config); }
    fs::path config;
    fs::path file;
};

TEST(SettingsFileName, IsInXdgConfigHomeOrElseInTheHomeFoldersConfig) {
    setenv("HOME", "/home/cook", 1);
    setenv("XDG_CONFIG_HOME", "/srv/cook/config", 1);
    EXPECT_EQ(platform::SettingsFileName(), "/srv/cook/config/pelmaro/settings");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(platform::SettingsFileName(), "/home/cook/.config/pelmaro/settings");
}

TEST_F(SettingsFile, ChangesAreWrittenAtOnceInAPrivateFolderAndReadBack) {
    platform::LoadSettings();
    EXPECT_TRUE(platform::Settings.empty());
    EXPECT_TRUE(platform::ChangeSetting("language", "de"));
    EXPECT_TRUE(platform::ChangeSetting("window.width", "1280"));
    EXPECT_EQ((fs::status(config / "pelmaro").permissions() & fs::perms::all),
              fs::perms::owner_all);
    const std::string text = Contents(file);
    EXPECT_EQ(text.substr(0, 2), "# ");
    EXPECT_NE(text.find("\nlanguage=de\nwindow.width=1280\n"), std::string::npos) << text;
    EXPECT_TRUE(platform::ChangeSetting("language", "en"));
    platform::Settings.clear();
    platform::LoadSettings();
    EXPECT_EQ(platform::Setting("language"), "en");
    EXPECT_EQ(platform::Setting("window.width"), "1280");
    EXPECT_EQ(platform::Setting("window.height"), "");
    // Only the new file and nothing else is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(config / "pelmaro"), fs::directory_iterator()),
              1);
}

TEST_F(SettingsFile, ALinkIsReplacedNeverWrittenThrough) {
    fs::create_directories(file.parent_path());
    const fs::path elsewhere = config / "elsewhere";
    Write(elsewhere, "language=de\n");
    fs::create_symlink(elsewhere, file);
    EXPECT_TRUE(platform::ChangeSetting("language", "en"));
    EXPECT_EQ(Contents(elsewhere), "language=de\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file)));
    EXPECT_NE(Contents(file).find("\nlanguage=en\n"), std::string::npos);
}

TEST_F(SettingsFile, AWrongOrUnreadableFileIsIgnoredWithANote) {
    fs::create_directories(file.parent_path());
    const char* wrong[] = {
        "language=de\nthis line has no equals sign\n",
        "Language=de\n",            // keys are lower case
        "language=de\r\n",          // a control character in the value
        "=de\n",                    // no key
        "\x89PNG\r\n\x1a\n\0\0\0",  // not text at all
    };
    for (const char* text : wrong) {
        Write(file, text);
        testing::internal::CaptureStderr();
        platform::LoadSettings();
        const std::string note = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(platform::Settings.empty()) << text;
        EXPECT_NE(note.find("settings"), std::string::npos) << text;
    }
    Write(file, std::string(70 * 1024, '#'));
    testing::internal::CaptureStderr();
    platform::LoadSettings();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("longer"), std::string::npos);
    fs::remove(file);
    fs::create_directory(file);  // a folder where the file should be
    testing::internal::CaptureStderr();
    platform::LoadSettings();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not a file"), std::string::npos);
    EXPECT_TRUE(platform::Settings.empty());
    // A file that cannot be written is noted, and the setting still holds for this run.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform::ChangeSetting("language", "de"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("could not be written"),
              std::string::npos);
    EXPECT_EQ(platform::Setting("language"), "de");
}

TEST(ParseSettings, ReadsKeysAndValuesSkippingNotesAndBlankLines) {
    std::map<std::string, std::string> settings;
    std::string fault;
    EXPECT_TRUE(platform::ParseSettings(
        "# a note\n\nlanguage=pt-BR\nwindow.place=-20,40\nname=Ζωή = Юлия\nempty=\nlast=1",
        settings, fault));
    const std::map<std::string, std::string> expected{{"language", "pt-BR"},
                                                      {"window.place", "-20,40"},
                                                      {"name", "Ζωή = Юлия"},
                                                      {"empty", ""},
                                                      {"last", "1"}};
    EXPECT_EQ(settings, expected);
    std::map<std::string, std::string> again;
    EXPECT_TRUE(platform::ParseSettings(platform::FormatSettings(expected), again, fault));
    EXPECT_EQ(again, expected);
    EXPECT_FALSE(platform::ParseSettings("a=1\n b=2\n", settings, fault));
    EXPECT_EQ(fault, "line 2 is not key=value");
}

}  // namespace

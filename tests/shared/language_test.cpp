// Tests of the language the game speaks: the desktop's, the player's choice, and its catalogs.
#include "shared/language.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "gfx/text.h"
#include "platform/settings.h"

namespace {

namespace fs = std::filesystem;

// The four variables gettext reads, set as given ("" unsets one).
void Desktop(const char* language, const char* all, const char* messages, const char* lang) {
    const char* names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    const char* values[] = {language, all, messages, lang};
    for (int i = 0; i < 4; ++i) {
        if (*values[i] == 0) {
            unsetenv(names[i]);
        } else {
            setenv(names[i], values[i], 1);
        }
    }
}

TEST(DesktopLanguage, IsReadAsGettextReadsIt) {
    struct Case {
        const char *language, *all, *messages, *lang;
        int expected;
    };
    const Case cases[] = {
        {"", "", "", "", 0},
        {"", "", "", "de_DE.UTF-8", 1},
        {"", "", "", "de_AT", 1},
        {"", "", "", "de", 1},
        {"", "", "", "fr_FR.UTF-8", 0},
        {"", "", "de_CH.UTF-8", "en_GB.UTF-8", 1},
        {"", "en_US.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8", 0},
        {"", "de_DE.UTF-8@euro", "en_US.UTF-8", "", 1},
        // LANGUAGE's list comes first, each entry tried in turn, the locale's own language last.
        {"fr:de:en", "", "", "en_US.UTF-8", 1},
        {"fr:en:de", "", "", "de_DE.UTF-8", 0},
        {"fr:it", "", "", "de_DE.UTF-8", 1},
        {"de_DE", "", "", "en_GB.UTF-8", 1},
        // ... but not when the locale is C, as gettext leaves it then.
        {"de", "", "", "C", 0},
        {"de", "POSIX", "", "", 0},
        {"de", "", "", "", 0},
        {"de", "", "", "C.UTF-8", 1},
    };
    for (const Case& c : cases) {
        Desktop(c.language, c.all, c.messages, c.lang);
        EXPECT_EQ(DesktopLanguage(), c.expected)
            << c.language << " | " << c.all << " | " << c.messages << " | " << c.lang;
    }
}

// A fresh settings folder and the baked data folder (its catalogs) as the working directory.
class LanguageChoice : public testing::Test {
  protected:
    void SetUp() override {
        config = fs::temp_directory_path() / ("pelmaro_language_" + std::to_string(getpid()));
        fs::remove_all(config);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        fs::current_path(PELMARO_GAME_DIR);
    }
    void TearDown() override { fs::remove_all(config); }
    fs::path config;
};

TEST_F(LanguageChoice, ThePlayersChoiceWinsOverTheDesktopsAndIsKept) {
    Desktop("", "", "", "de_DE.UTF-8");
    platform::LoadSettings();
    ChooseLanguage();
    EXPECT_EQ(CurrentLanguage, 1);
    EXPECT_STREQ(Translated("Untimed"), "Zeitlos");

    PickLanguage(0);  // the player picks English on the Options card: at once, and kept
    EXPECT_STREQ(Translated("Untimed"), "Untimed");
    EXPECT_EQ(GroupedNumber(2115), "2,115");
    platform::LoadSettings();
    ChooseLanguage();
    EXPECT_EQ(CurrentLanguage, 0);

    Desktop("", "", "", "en_GB.UTF-8");  // a desktop that speaks English from now on
    PickLanguage(1);
    platform::LoadSettings();
    ChooseLanguage();
    EXPECT_EQ(CurrentLanguage, 1);
    EXPECT_STREQ(Translated("Untimed"), "Zeitlos");

    // A choice the game does not know (a later version's language) falls back to the desktop's.
    platform::ChangeSetting(LanguageSetting, "xx");
    platform::LoadSettings();
    ChooseLanguage();
    EXPECT_EQ(CurrentLanguage, 0);
}

TEST_F(LanguageChoice, SentencesAndNumbersFollowTheLanguage) {
    Desktop("", "", "", "C");
    platform::LoadSettings();
    ChooseLanguage();
    EXPECT_EQ(TranslatedSentence("Leave your game at level %d, %s points?", 12,
                                 GroupedNumber(-1234567).c_str()),
              "Leave your game at level 12, -1,234,567 points?");
    EXPECT_STREQ(Translated("Empty"), "Empty");
    EXPECT_STREQ(Translated("words no catalog has"), "words no catalog has");
    PickLanguage(1);
    // The German sentence puts its numbers in its own order and groups digits with a full stop.
    EXPECT_EQ(TranslatedSentence("Leave your game at level %d, %s points?", 12,
                                 GroupedNumber(2115).c_str()),
              "Spiel verlassen? Level 12, 2.115 Punkte");
    EXPECT_EQ(TranslatedSentence("Score %s", GroupedNumber(1000000).c_str()), "1.000.000 Punkte");
    EXPECT_EQ(GroupedNumber(999), "999");
    EXPECT_STREQ(Translated("Empty"), "Leer");
    EXPECT_STREQ(TranslatedIn("digit group separator", ","), ".");
    EXPECT_STREQ(Translated("words no catalog has"), "words no catalog has");
}

}  // namespace

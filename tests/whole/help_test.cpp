// Whole-program tests of help: the how-to-play card from the main menu and from Options, by
// mouse and by keys; its Help page button hands the full page to the desktop's openers in turn,
// and when none takes it a message box says where the page is.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/shatter.h"
#include "harness.h"
#include "platform/input.h"
#include "platform/shell.h"
#include "screens/focus.h"
#include "screens/how_to_play.h"
#include "shared/state.h"

namespace {

namespace fs = std::filesystem;
using platform::TestKey;

// The focus ring's bright line, as presented (0x00RRGGBB).
constexpr uint32_t Butter = 0xffd75e;
// The card's buttons and the picture of its page.
struct CardPlaces {
    Area Back, Previous, Next, HelpPage, Picture;
};
constexpr CardPlaces Card{{140, 382, 210, 410},
                          {263, 382, 303, 410},
                          {331, 382, 371, 410},
                          {394, 382, 498, 410},
                          {136, 96, 498, 236}};
// The controls that open the card: the menu's link and the Help of Options; the Options tag
// and the Back of Options that lead to and from the second.
struct OpenerPlaces {
    Area MenuLink, OptionsHelp, OptionsTag, OptionsBack;
};
constexpr OpenerPlaces Openers{
    {314, 447, 556, 471}, {385, 405, 446, 442}, {85, 292, 264, 344}, {196, 403, 266, 431}};

// True when the ring shows around `spot`: the focused control, its bright line left of it.
bool RingOn(const WholeGame& game, const Area& spot) {
    const FocusSpot* focused = FocusedSpot();
    return platform::KeysInUse() && focused != nullptr && focused->Spot == spot &&
           game.Picture().At(spot.Left - 5, (spot.Top + spot.Bottom) / 2) == Butter;
}

// The game with its openers looked up only in a folder of the test's own, so no desktop program
// is ever started; the fixture puts PATH back afterwards.
class HelpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedPath_ = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
        openers_ = fs::path(game_.Folder()) / "openers";
        fs::create_directory(openers_);
        setenv("PATH", openers_.c_str(), 1);
        platform::OpenerPatienceMs = 60000;  // a busy machine never makes a failing opener "slow"
    }
    void TearDown() override { setenv("PATH", savedPath_.c_str(), 1); }

    // An opener that writes its arguments into "<name>.args" beside itself and ends with `code`.
    void AddOpener(const std::string& name, int code) {
        const fs::path script = openers_ / name;
        std::ofstream(script) << "#!/bin/sh\necho \"$@\" > \"$0.args\"\nexit " << code << "\n";
        fs::permissions(script, fs::perms::owner_all);
    }
    // What the opener was given, or "" if it never ran.
    std::string ArgumentsOf(const std::string& name) const {
        std::ifstream file(openers_ / (name + ".args"));
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // A click on the middle of a control, or the keys: Tab until the ring stands on it, then
    // Enter; then a frame shows what it did.
    void Use(const Area& spot, bool keys) {
        if (!keys) {
            game_.Click((spot.Left + spot.Right) / 2, (spot.Top + spot.Bottom) / 2);
            return;
        }
        for (int i = 0; i < 12 && !RingOn(game_, spot); ++i) game_.Press(TestKey::Tab);
        ASSERT_TRUE(RingOn(game_, spot));
        game_.Press(TestKey::Enter);
        game_.Step();
    }
    // From the logo to the options screen, then its Help button and the card's Help page; what
    // went to standard error meanwhile (the headless message box).
    std::string ClickHelp() {
        EXPECT_TRUE(game_.Start());
        game_.RunUntil([] { return ScreenState == Title && ShatterActive == 0; }, 10.0f);
        game_.Click(320, 440);
        game_.RunUntil([] { return ShatterActive == 0; }, 5.0f);
        game_.Click(170, 318);  // Options
        EXPECT_EQ(ScreenState, Options);
        game_.Click(400, 420);  // Help
        EXPECT_EQ(ScreenState, HowToPlay);
        testing::internal::CaptureStderr();
        game_.Click(446, 396);  // Help page
        return testing::internal::GetCapturedStderr();
    }

    WholeGame game_;
    fs::path openers_;
    std::string savedPath_;
};

TEST_F(HelpTest, WithNoOpenerTheMessageBoxSaysWhereTheHelpPageIs) {
    const std::string shown = ClickHelp();
    EXPECT_NE(shown.find("Pelmaro: No program on this desktop could open\n" + game_.Folder() +
                         "/ReadMe.htm\n"),
              std::string::npos)
        << shown;
    EXPECT_EQ(ScreenState, HowToPlay);
}

TEST_F(HelpTest, OpenersAreTriedInTurnUntilOneTakesThePage) {
    AddOpener("xdg-open", 3);  // xdg-open's "no tool found"
    AddOpener("gio", 0);
    AddOpener("sensible-browser", 0);
    const std::string shown = ClickHelp();
    const std::string page = "file://" + game_.Folder() + "/ReadMe.htm\n";
    EXPECT_EQ(ArgumentsOf("xdg-open"), page);
    EXPECT_EQ(ArgumentsOf("gio"), "open " + page);
    EXPECT_EQ(ArgumentsOf("sensible-browser"), "");
    EXPECT_EQ(shown.find("No program"), std::string::npos) << shown;
}

TEST_F(HelpTest, TheCardOpensFromBothOpenersByMouseAndKeysAndReturnsToTheOpener) {
    platform::RecordShellOpens = true;
    ASSERT_TRUE(game_.Start());
    game_.ToMainMenu();
    struct Opener {
        int32_t Screen;
        Area Spot;
    };
    for (const Opener& opener :
         {Opener{MainMenu, Openers.MenuLink}, Opener{Options, Openers.OptionsHelp}}) {
        for (const bool keys : {false, true}) {
            SCOPED_TRACE(std::string(opener.Screen == MainMenu ? "menu link" : "Options' Help") +
                         (keys ? " by keys" : " by mouse"));
            if (opener.Screen == Options) Use(Openers.OptionsTag, keys);
            ASSERT_EQ(ScreenState, opener.Screen);
            Use(opener.Spot, keys);
            ASSERT_EQ(ScreenState, HowToPlay);
            EXPECT_EQ(HowToPlayPage, 0);
            // Next, focused first, turns every page and wraps to the first; each page shows a
            // picture of its own.
            std::vector<Shot> pages;
            for (int page = 1; page <= HowToPlayPages; ++page) {
                pages.push_back(game_.Picture());
                if (!keys && opener.Screen == MainMenu)
                    game_.SaveShot("how-to-play-" + std::to_string(page));
                Use(Card.Next, keys);
                EXPECT_EQ(HowToPlayPage, page % HowToPlayPages);
            }
            const Area& p = Card.Picture;
            for (int a = 0; a < HowToPlayPages; ++a)
                for (int b = a + 1; b < HowToPlayPages; ++b)
                    EXPECT_GT(
                        pages[a].DifferingPixels(pages[b], p.Left, p.Top, p.Right, p.Bottom, 16),
                        5000);
            Use(Card.Previous, keys);
            EXPECT_EQ(HowToPlayPage, HowToPlayPages - 1);
            if (keys && opener.Screen == Options) game_.SaveShot("how-to-play-keys");
            // The full page is one button away; the card stays.
            const size_t opened = platform::OpenedTargets.size();
            Use(Card.HelpPage, keys);
            ASSERT_EQ(platform::OpenedTargets.size(), opened + 1);
            EXPECT_EQ(platform::OpenedTargets.back(), "file://" + game_.Folder() + "/ReadMe.htm");
            EXPECT_EQ(ScreenState, HowToPlay);
            // Back (Escape by keys) returns to the opener, the ring on it once keys are used.
            if (keys) {
                game_.Press(TestKey::Escape);
                game_.Step();
            } else {
                Use(Card.Back, false);
                game_.MoveMouse(600, 20);    // onto no control
                game_.Press(TestKey::Down);  // a hidden ring is only shown, on the opener
            }
            ASSERT_EQ(ScreenState, opener.Screen);
            EXPECT_TRUE(RingOn(game_, opener.Spot));
            if (opener.Screen == Options) Use(Openers.OptionsBack, keys);
            ASSERT_EQ(ScreenState, MainMenu);
        }
    }
}

}  // namespace

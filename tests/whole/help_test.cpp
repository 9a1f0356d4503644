// Whole-program tests of the help page: the Help button hands it to the desktop's openers in
// turn, and when none takes it a message box says where the page is.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "game/shatter.h"
#include "harness.h"
#include "platform/shell.h"
#include "shared/state.h"

namespace {

namespace fs = std::filesystem;

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
    // From the logo to the options screen, then a click on its Help button; what went to standard
    // error meanwhile (the headless message box).
    std::string ClickHelp() {
        EXPECT_TRUE(game_.Start());
        game_.RunUntil([] { return ScreenState == Title && ShatterActive == 0; }, 10.0f);
        game_.Click(320, 440);
        game_.RunUntil([] { return ShatterActive == 0; }, 5.0f);
        game_.Click(170, 318);  // Options
        EXPECT_EQ(ScreenState, Options);
        testing::internal::CaptureStderr();
        game_.Click(400, 420);  // Help
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
    EXPECT_EQ(ScreenState, Options);
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

}  // namespace

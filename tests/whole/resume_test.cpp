// Closing the window at any moment of play: every saved game resumes playable, every finished
// game's score reaches its table. Each life of the game is a process of its own, as on a desktop.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/board_change.h"
#include "game/falling.h"
#include "game/hud.h"
#include "game/matching.h"
#include "game/moves.h"
#include "game/play_screen.h"
#include "game/rest.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "harness.h"
#include "platform/clock.h"
#include "platform/file_writer.h"
#include "platform/messages.h"
#include "screens/save_file.h"
#include "shared/state.h"

namespace {

// Where the tests click, in picture coordinates.
constexpr int MenuButtonX = 170, ContinueY = 197;
constexpr int PlayMenuX = 60, PlayMenuY = 420;
constexpr int PanX = 52, PanY = 137;
constexpr int WonButtonX = 320, WonButtonY = 327;
// OK of the name box, which lies below a score placed in rows 0..3 and above the others.
constexpr int OkX = 318, OkBelowY = 380, OkAboveY = 250;
constexpr int BackX = 320, BackY = 440;

// Offsets of the save file the checks read.
constexpr std::size_t BarAt = 5, TableAt = 13, EntryBytes = 104, LevelAt = 5629, ScoreAt = 5633,
                      BoardAt = 5641, NoGameAt = 6921;
// More than any cascade of play scores: a rest that scores more ran an endless chain.
constexpr int32_t RestScoreBound = 1000;

int CentreX(Square square) { return BoardLeft + SquareSize * square.Column + SquareSize / 2; }
int CentreY(Square square) { return BoardTop + SquareSize * square.Row + SquareSize / 2; }

std::vector<uint8_t> ReadSave() {
    std::ifstream in("game.sav", std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Failures the running test has recorded so far; a child inherits its parent's.
int FailureCount() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
}

// A settled, full board with a move, every piece at home and nothing flagged.
bool BoardAtRest() {
    for (int i = 0; i < BoardCellCount; ++i) {
        const Cell& cell = Board[i];
        if (cell.Kind >= MaxKinds || cell.SwapTarget != 0 || cell.Selected != 0) return false;
        if (cell.X != static_cast<float>(BoardLeft + SquareSize * (i / BoardRows))) return false;
        if (cell.Y != static_cast<float>(BoardTop + SquareSize * (i % BoardRows))) return false;
    }
    return !AnyMatch() && AnyMovePossible();
}

// The game waits for the player's next move.
bool Playable() {
    return ScreenState == Play && ShatterActive == 0 && PlayInputOpen() && Falling == 0 &&
           HintActive == 0 && SelectStep == 0 && Paused == 0 && BoardAtRest();
}

// Every swap of two neighbours that makes a line, found on the board model.
std::vector<std::pair<Square, Square>> Moves() {
    std::vector<std::pair<Square, Square>> moves;
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            for (Square other : {Square{c + 1, r}, Square{c, r + 1}}) {
                if (!OnGrid(other)) continue;
                std::swap(CellAt({c, r}).Kind, CellAt(other).Kind);
                if (AnyMatch()) moves.push_back({{c, r}, other});
                std::swap(CellAt({c, r}).Kind, CellAt(other).Kind);
            }
        }
    }
    return moves;
}

// The moments the lives close at, in turn; the first lets the dice choose any moment.
constexpr const char* AnyMoment = "anywhere";
constexpr const char* TargetMoments[] = {
    AnyMoment,
    "closed mid-fall",
    "closed mid-swap",
    "closed under a banner",
    "closed in a board change",
    "closed at the name box",
    "closed on the won panel",
    "closed paused",
    "closed mid-hint",
    "closed at rest",
};
constexpr int TargetCount = sizeof TargetMoments / sizeof TargetMoments[0];

// A finished game's score, as it must be found in its table.
struct FinishedGame {
    int Slot = -1;
    int32_t Score = 0;
    bool Placed = false;
};

// One life of the game: start, resume or begin a game, play automatically, close at a moment
// the dice choose, then check the file it left.
class Life {
  public:
    Life(WholeGame& game, int mode, int kinds, unsigned seed, const char* target)
        : game_(game), mode_(mode), kinds_(kinds), random_(seed), target_(target) {}

    // Runs the life; the counts of what it checked are appended to "counts.txt".
    void Run() {
        ASSERT_TRUE(game_.Start());
        const bool resumable = NoGameToContinue == 0;
        if (resumable) {
            ASSERT_TRUE(BoardAtRest()) << "the loaded game is not at rest";
        }
        game_.ToMainMenu();
        if (resumable) {
            Resume();
            if (::testing::Test::HasFatalFailure()) return;
        } else {
            game_.NewGameFromMenu(mode_, kinds_);
        }
        if (ScreenState == Play) Steer();
        PlayUntilTheMoment();
        ASSERT_FALSE(game_.Ended());
        Count(Moment());
        // A level whose banner runs is complete; no other is completed by the close.
        levelAtClose_ = Level + (PlayPhase == PhaseLevelComplete ? 1 : 0);
        scoreAtClose_ = Score;
        game_.Close();
        ASSERT_TRUE(game_.Ended());
        NoteFinishedGame();
        CheckFile();
        Count(resumable ? "resumed" : "started");
    }

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void Count(const std::string& what) {
        std::ofstream("counts.txt", std::ios::app) << what << "\n";
    }

    // Plays until the moment this life closes at has come (once, or a few frames into it), or
    // for a random while when any moment will do.
    void PlayUntilTheMoment() {
        const bool anywhere = std::strcmp(target_, AnyMoment) == 0;
        const int actions = anywhere ? Pick(350) : 800;
        for (int i = 0; i < actions && !game_.Ended(); ++i) {
            if (!anywhere && Moment() == std::string(target_)) {
                if (Pick(3) == 0) return;
                Hold();
            } else {
                Act();
            }
            NoteFinishedGame();
        }
    }

    // Stays in the moment reached: a frame passes, or a letter is typed into the name box.
    void Hold() {
        if (NameEntryOpen != 0 && ScreenState == HighScores && Pick(2) == 0) {
            game_.Type(std::string(1, static_cast<char>('a' + Pick(26))));
        } else {
            game_.Step();
        }
    }

    // What the game is doing now, in the words the counts use.
    static const char* Moment() {
        if (ScreenState == HighScores) {
            return NameEntryOpen != 0 ? "closed at the name box" : "closed on the high scores";
        }
        if (ScreenState != Play) return "closed in the menus";
        if (GameWon != 0) return "closed on the won panel";
        if (Paused != 0) return "closed paused";
        if (DropIn != 0 || ClearOut != 0) return "closed in a board change";
        if (PlayPhase != PhasePlaying) return "closed under a banner";
        if (Falling != 0) return "closed mid-fall";
        if (HintActive != 0) return "closed mid-hint";
        if (SwapCount != 0 || SelectStep == 3) return "closed mid-swap";
        return "closed at rest";
    }

    bool Targets(const char* moment) const { return std::strcmp(target_, moment) == 0; }

    // Continue from the main menu: within seconds the game waits for a move, or a Timed game
    // whose time was nearly out has ended properly.
    void Resume() {
        game_.Click(MenuButtonX, ContinueY);
        ASSERT_EQ(ScreenState, Play);
        // A bar saved full completes its level on screen first, or shows the won panel.
        const bool settled = game_.RunUntil(
            [this] {
                return Playable() || GameWon != 0 || (mode_ == Timed && ScreenState == HighScores);
            },
            12.0f);
        ASSERT_TRUE(settled) << "resumed game never became playable: screen " << ScreenState
                             << ", phase " << PlayPhase << ", won " << int(GameWon) << ", level "
                             << Level << ", bar " << LevelBar << ", at rest " << BoardAtRest()
                             << ", input " << PlayInputOpen() << ", select step " << SelectStep
                             << ", paused " << int(Paused);
    }

    // Steers the game toward the moment this life closes at: a level about to complete, the
    // last level about to be won, time nearly out, a game or a board about to end.
    void Steer() {
        Score = Pick(1500);
        int choice = Pick(8);
        if (Targets("closed at the name box")) choice = 2;
        if (Targets("closed on the won panel")) choice = 1;
        if (Targets("closed in a board change")) choice = 0;
        if (Targets("closed under a banner")) choice = Pick(4);
        switch (choice) {
            case 0:
                LevelBar = 72.5f;
                break;
            case 1:
                Level = LastLevel;
                LevelBar = 72.5f;
                break;
            case 2:
                if (GameMode == Timed) {
                    LevelBar = ShownLevelBar = 1.5f;
                } else {
                    PlayPhase = PhaseNoMovesUntimed;
                }
                break;
            case 3:
                PlayPhase = GameMode == Timed ? PhaseNewBoard : PhasePlaying;
                break;
            default:
                break;
        }
    }

    // One thing a player would do on the screen shown now.
    void Act() {
        const int dice = Pick(100);
        if (ScreenState == Play && GameWon != 0) {
            dice < 4 ? game_.Click(WonButtonX, WonButtonY) : void(game_.Step());
        } else if (ScreenState == HighScores && NameEntryOpen != 0) {
            if (dice < 20) {
                game_.Type(std::string(1, static_cast<char>('a' + Pick(26))));
            } else if (dice < 22) {
                game_.Press(platform::TestKey::Enter);
            } else if (dice < 24) {
                game_.Click(OkX, InsertRow <= 3 ? OkBelowY : OkAboveY);
            } else if (dice < 26) {
                game_.Click(BackX, BackY);
            } else {
                game_.Step();
            }
        } else if (ScreenState == HighScores) {
            dice < 20 ? game_.Click(BackX, BackY) : void(game_.Step());
        } else if (ScreenState == MainMenu && ShatterActive == 0) {
            if (NoGameToContinue == 0 && dice < 70) {
                game_.Click(MenuButtonX, ContinueY);
            } else {
                game_.NewGameFromMenu(mode_, kinds_);
                Steer();
            }
        } else if (ScreenState == Play && Paused != 0) {
            dice < 4 ? game_.Click(300 + Pick(300), 50 + Pick(300)) : void(game_.Step());
        } else if (ScreenState == Play && PlayInputOpen() && SelectStep == 0 && HintActive == 0) {
            PlayMove(dice);
        } else {
            game_.Step();
        }
    }

    // On the board: mostly a move by clicks or a drag, now and then a hint, the pause or the
    // menu.
    void PlayMove(int dice) {
        if (dice < (Targets("closed paused") ? 30 : 4)) {
            game_.Press(platform::TestKey::Pause);
        } else if (dice < 7 || (Targets("closed mid-hint") && dice < 40)) {
            game_.Click(PanX, PanY);
        } else if (dice < 9) {
            game_.Click(PlayMenuX, PlayMenuY);
        } else if (dice < 70) {
            const auto moves = Moves();
            if (moves.empty()) {
                game_.Step();
                return;
            }
            auto [a, b] = moves[static_cast<std::size_t>(Pick(static_cast<int>(moves.size())))];
            if (Pick(2) == 0) std::swap(a, b);
            if (Pick(2) == 0) {
                game_.Click(CentreX(a), CentreY(a));
                game_.Click(CentreX(b), CentreY(b));
            } else {
                game_.Drag(CentreX(a), CentreY(a), CentreX(b), CentreY(b));
            }
        } else {
            game_.Step(0.02f, 1 + Pick(10));
        }
    }

    // A game that just left play: its score, table and whether it found a place.
    void NoteFinishedGame() {
        if (wasLive_ && NoGameToContinue != 0) {
            finished_.Slot = (KindCount - 6) + 3 * GameMode;
            finished_.Score = Score;
            finished_.Placed = InsertRow != 10;
        }
        wasLive_ = NoGameToContinue == 0;
    }

    // The file holds a game at rest or none, and the last finished game's score under the name
    // last typed. A saved game is on the level it was closed on and scored no more than a
    // cascade of play would: the rest completes no level and runs no endless chain.
    void CheckFile() {
        const std::vector<uint8_t> bytes = ReadSave();
        ASSERT_EQ(bytes.size(), SaveFileSize);
        if (bytes[NoGameAt] == 0) {
            for (int i = 0; i < BoardCellCount; ++i) {
                Board[i] = ReadCellBytes(&bytes[BoardAt + static_cast<std::size_t>(i) * 20]);
            }
            EXPECT_TRUE(BoardAtRest()) << "a game was saved in motion";
            int32_t level = 0, score = 0;
            std::memcpy(&level, &bytes[LevelAt], 4);
            std::memcpy(&score, &bytes[ScoreAt], 4);
            EXPECT_EQ(level, levelAtClose_);
            EXPECT_LE(score, std::max(scoreAtClose_, 0) + RestScoreBound);
            Count("saved a game");
        }
        if (finished_.Slot < 0) return;
        Count("saved a finished game");
        if (!finished_.Placed) return;
        const std::string name(NameBuffer, static_cast<std::size_t>(NameLength));
        bool found = false;
        for (std::size_t row = 0; row < 9; ++row) {
            const std::size_t at =
                TableAt + (row * 6 + static_cast<std::size_t>(finished_.Slot)) * EntryBytes;
            int32_t score = 0;
            std::memcpy(&score, &bytes[at + 100], 4);
            found = found ||
                    (score == finished_.Score && name == reinterpret_cast<const char*>(&bytes[at]));
        }
        EXPECT_TRUE(found) << "score " << finished_.Score << " of \"" << name
                           << "\" is missing from table " << finished_.Slot;
    }

    WholeGame& game_;
    int mode_;
    int kinds_;
    std::mt19937 random_;
    const char* target_;
    bool wasLive_ = false;
    FinishedGame finished_;
    int32_t levelAtClose_ = 0;
    int32_t scoreAtClose_ = 0;
};

struct ResumeCase {
    int Mode;
    int Kinds;
};

class ResumeTest : public ::testing::TestWithParam<ResumeCase> {};

TEST_P(ResumeTest, ClosedAtRandomMomentsEveryGameResumesPlayableAndEveryScoreIsKept) {
    constexpr int Lives = 20;
    const ResumeCase config = GetParam();
    WholeGame game;
    for (int life = 0; life < Lives; ++life) {
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const int failuresBefore = FailureCount();
            const unsigned seed = 1000u * config.Kinds + 100u * config.Mode + life;
            Life(game, config.Mode, config.Kinds, seed, TargetMoments[life % TargetCount]).Run();
            std::fflush(nullptr);
            _exit(FailureCount() > failuresBefore ? 1 : 0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "life " << life;
    }
    std::ifstream counts(game.Folder() + "/counts.txt");
    std::map<std::string, int> seen;
    for (std::string line; std::getline(counts, line);) ++seen[line];
    for (const auto& [what, count] : seen) std::printf("%4d %s\n", count, what.c_str());
    EXPECT_EQ(seen["resumed"] + seen["started"], Lives);
    EXPECT_GE(seen["resumed"], Lives / 3);
}

INSTANTIATE_TEST_SUITE_P(ModesAndKinds, ResumeTest,
                         ::testing::Values(ResumeCase{Untimed, 6}, ResumeCase{Untimed, 7},
                                           ResumeCase{Untimed, 8}, ResumeCase{Timed, 6},
                                           ResumeCase{Timed, 7}, ResumeCase{Timed, 8}),
                         [](const ::testing::TestParamInfo<ResumeCase>& info) {
                             return std::string(info.param.Mode == Timed ? "Timed" : "Untimed") +
                                    std::to_string(info.param.Kinds);
                         });

// ---- Saved as play goes ----

// One moment of play at rest: when (tick count, ms), on which level and with what score.
struct RestPoint {
    uint32_t AtMs;
    int32_t Level;
    int32_t Score;
};

TEST(SavedAsPlayGoesTest, AGameKilledWithoutAWordLosesAtMostHalfAMinuteOfPlay) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    std::mt19937 random(20261209);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    for (const int mode : {Untimed, Timed}) {
        game.NewGameFromMenu(mode, 6);
        if (ScreenState != Play) game.PlayNewGame(mode, 6);
        std::vector<RestPoint> rests;
        const unsigned writesBefore = platform::BackgroundWritesDone();
        int deaths = 0;
        for (int action = 0; action < 600 && ScreenState == Play && GameWon == 0; ++action) {
            const auto moves = Moves();
            if (pick(4) == 0 && PlayInputOpen() && SelectStep == 0 && !moves.empty()) {
                const auto [a, b] = moves[static_cast<std::size_t>(pick(int(moves.size())))];
                game.Click(CentreX(a), CentreY(a));
                game.Click(CentreX(b), CentreY(b));
            } else if (pick(30) == 0) {
                LevelBar = 72.5f;  // the level completes with the next line
            } else {
                game.Step(0.02f, 1 + pick(200));  // up to four seconds with nothing played
            }
            if (PlayAtRest()) rests.push_back({platform::TickCount(), Level, Score});
            if (pick(25) != 0 || rests.empty()) continue;
            // The game dies here, as by SIGKILL: what is on the disk once the writer is done is
            // a game at rest of the last half minute, or the last one before it.
            platform::FinishBackgroundWrites();
            const std::vector<uint8_t> file = ReadSave();
            ASSERT_EQ(file.size(), SaveFileSize);
            int32_t level = 0, score = 0;
            std::memcpy(&level, &file[LevelAt], 4);
            std::memcpy(&score, &file[ScoreAt], 4);
            const uint32_t now = platform::TickCount();
            std::size_t oldest = 0;  // the last rest more than half a minute (and a frame) ago
            for (std::size_t i = 0; i < rests.size(); ++i)
                if (now - rests[i].AtMs > uint32_t(AutoSaveSeconds * 1000) + 100) oldest = i;
            bool recent = false;
            for (std::size_t i = oldest; i < rests.size(); ++i)
                recent = recent || (rests[i].Level == level && rests[i].Score == score);
            ASSERT_TRUE(recent) << "saved level " << level << " score " << score << ", now level "
                                << Level << " score " << Score << " after action " << action;
            ++deaths;
        }
        EXPECT_GT(deaths, 5);
        // Saves come with play, not with every frame.
        const unsigned writes = platform::BackgroundWritesDone() - writesBefore;
        EXPECT_GT(writes, 1u);
        EXPECT_LT(writes, 60u);
        game.Press(platform::TestKey::M);
        game.RunUntil([] { return ScreenState == MainMenu && ShatterActive == 0; }, 5.0f);
    }
}

// ---- Each moment named, closed once ----

// A swap of two neighbours that makes no line.
std::pair<Square, Square> SwapWithoutLine() {
    for (int c = 0; c + 1 < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            std::swap(CellAt({c, r}).Kind, CellAt({c + 1, r}).Kind);
            const bool line = AnyMatch();
            std::swap(CellAt({c, r}).Kind, CellAt({c + 1, r}).Kind);
            if (!line) return {{c, r}, {c + 1, r}};
        }
    }
    return {{0, 0}, {0, 1}};
}

// The board's kinds as one string, for comparisons.
std::string Kinds() {
    std::string kinds;
    for (const Cell& cell : Board) kinds += static_cast<char>('0' + cell.Kind);
    return kinds;
}

void ClickSquares(WholeGame& game, Square a, Square b) {
    game.Click(CentreX(a), CentreY(a));
    game.Click(CentreX(b), CentreY(b));
}

// Runs one life of the game in a child process: start-up, then `life`, then the window's close
// button. The parent reads the file it left.
void InALife(WholeGame& game, const std::function<void(WholeGame&)>& life) {
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int failuresBefore = FailureCount();
        game.Start();
        life(game);
        game.Close();
        std::fflush(nullptr);
        _exit(FailureCount() > failuresBefore || !game.Ended() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// A life with a new game of the mode and 7 kinds, then `play`, then the close.
void CloseAfter(WholeGame& game, int mode, const std::function<void(WholeGame&)>& play) {
    InALife(game, [&](WholeGame& g) {
        g.PlayNewGame(mode, 7);
        play(g);
    });
}

// The saved board, read into Board; true when the file holds a game.
bool LoadSavedBoard(const std::vector<uint8_t>& bytes) {
    for (int i = 0; i < BoardCellCount; ++i) {
        Board[i] = ReadCellBytes(&bytes[BoardAt + static_cast<std::size_t>(i) * 20]);
    }
    return bytes[NoGameAt] == 0;
}

// A high-score entry of the file: name and score.
std::pair<std::string, int32_t> SavedEntry(const std::vector<uint8_t>& bytes, int row, int slot) {
    const std::size_t at = TableAt + static_cast<std::size_t>(row * 6 + slot) * EntryBytes;
    int32_t score = 0;
    std::memcpy(&score, &bytes[at + 100], 4);
    return {reinterpret_cast<const char*>(&bytes[at]), score};
}

TEST(SaveAtRestTest, ClosingMidFallMidSwapUnderABannerOrAtTheNameBoxKeepsTheGameOrItsScore) {
    WholeGame game;
    std::string kinds;
    // Mid-fall: the cascade runs to its end; the file holds a full board at rest.
    CloseAfter(game, Untimed, [](WholeGame& g) {
        const auto move = Moves().front();
        ClickSquares(g, move.first, move.second);
        EXPECT_TRUE(g.RunUntil([] { return Falling != 0; }, 2.0f));
    });
    std::vector<uint8_t> bytes = ReadSave();
    EXPECT_TRUE(LoadSavedBoard(bytes));
    EXPECT_TRUE(BoardAtRest());
    EXPECT_GE(bytes[5633], 10);  // the line's points were counted

    // Mid-swap, sliding back after the menu button: the swap that made no line is undone.
    CloseAfter(game, Timed, [](WholeGame& g) {
        std::ofstream("kinds.txt") << Kinds();
        const auto swap = SwapWithoutLine();
        ClickSquares(g, swap.first, swap.second);
        EXPECT_TRUE(g.RunUntil([] { return SwapCount == 1; }, 2.0f));
        g.Click(PlayMenuX, PlayMenuY);
        EXPECT_EQ(ScreenState, MainMenu);
    });
    bytes = ReadSave();
    EXPECT_TRUE(LoadSavedBoard(bytes));
    EXPECT_TRUE(BoardAtRest());
    std::ifstream("kinds.txt") >> kinds;
    EXPECT_EQ(Kinds(), kinds);

    // Under the new-board banner of a Timed game: the new board is dealt, the level kept.
    CloseAfter(game, Timed, [](WholeGame& g) {
        Level = 12;
        PlayPhase = PhaseNewBoard;
        g.Step(0.02f, 30);
    });
    bytes = ReadSave();
    EXPECT_TRUE(LoadSavedBoard(bytes));
    EXPECT_TRUE(BoardAtRest());
    EXPECT_EQ(bytes[5629], 12);

    // Under the game-over banner: the game is over, its score in the table, nothing to continue.
    CloseAfter(game, Untimed, [](WholeGame& g) {
        Score = 5000;
        PlayPhase = PhaseNoMovesUntimed;
        g.Step(0.02f, 30);
    });
    bytes = ReadSave();
    EXPECT_FALSE(LoadSavedBoard(bytes));
    EXPECT_EQ(SavedEntry(bytes, 0, 1), (std::pair<std::string, int32_t>{"", 5000}));

    // At the name box: the score keeps the name typed, not the name of the row it pushed down.
    CloseAfter(game, Untimed, [](WholeGame& g) {
        Score = 6000;
        PlayPhase = PhaseNoMovesUntimed;
        EXPECT_TRUE(g.RunUntil([] { return ScreenState == HighScores; }, 5.0f));
        g.WaitForScreen();
        g.Type("Ann");
    });
    bytes = ReadSave();
    EXPECT_FALSE(LoadSavedBoard(bytes));
    EXPECT_EQ(SavedEntry(bytes, 0, 1), (std::pair<std::string, int32_t>{"Ann", 6000}));
    EXPECT_EQ(SavedEntry(bytes, 1, 1), (std::pair<std::string, int32_t>{"", 5000}));
}

TEST(SaveAtRestTest, ClosingWhileTheWinningCascadeFallsLeavesTheWinToTheResumedGame) {
    WholeGame game;
    CloseAfter(game, Untimed, [](WholeGame& g) {
        Level = LastLevel;
        LevelBar = ShownLevelBar = 72.5f;
        Score = 3000;
        const auto move = Moves().front();
        ClickSquares(g, move.first, move.second);
        EXPECT_TRUE(g.RunUntil([] { return Falling != 0; }, 2.0f));
        EXPECT_EQ(GameWon, 0);
    });
    // The full bar is saved as it is, in a game still to continue on the last level.
    const std::vector<uint8_t> bytes = ReadSave();
    ASSERT_TRUE(LoadSavedBoard(bytes));
    EXPECT_TRUE(BoardAtRest());
    float bar = 0.0f;
    std::memcpy(&bar, &bytes[BarAt], 4);
    EXPECT_GE(bar, 73.0f);
    EXPECT_EQ(bytes[LevelAt], LastLevel);
    // Continued, the game is won on screen and the winner's name is asked.
    InALife(game, [](WholeGame& g) {
        g.ToMainMenu();
        g.Click(MenuButtonX, ContinueY);
        EXPECT_TRUE(g.RunUntil([] { return GameWon != 0 && ShatterActive == 0; }, 5.0f));
        g.Click(WonButtonX, WonButtonY);
        EXPECT_EQ(ScreenState, HighScores);
        EXPECT_EQ(NameEntryOpen, 1);
    });
}

TEST(PlayStateTest, NewGameAfterLeavingMidSwapStartsWithoutTheOldSwap) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(Untimed, 6);
    auto swap = SwapWithoutLine();
    ClickSquares(game, swap.first, swap.second);
    ASSERT_TRUE(game.RunUntil([] { return SwapCount == 1; }, 2.0f));
    game.Click(PlayMenuX, PlayMenuY);
    game.RunUntil([] { return ShatterActive == 0; }, 5.0f);
    game.NewGameFromMenu(Untimed, 6);
    EXPECT_EQ(SwapCount, 0);
    EXPECT_EQ(SwapOffset, 0.0f);
    // The new game's first swap without a line slides back and leaves the board as it was.
    const std::string kinds = Kinds();
    swap = SwapWithoutLine();
    ClickSquares(game, swap.first, swap.second);
    EXPECT_TRUE(game.RunUntil([] { return SelectStep == 0 && SwapCount == 0; }, 3.0f));
    EXPECT_EQ(Kinds(), kinds);
    EXPECT_TRUE(BoardAtRest());
}

TEST(PlayStateTest, TimedWinTakesTheWinnersNameOnceAndLeavesNothingToTheNextGame) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(Timed, 8);
    Level = LastLevel;
    LevelBar = 72.5f;
    Score = 7777;
    const auto move = Moves().front();
    ClickSquares(game, move.first, move.second);
    ASSERT_TRUE(game.RunUntil([] { return GameWon != 0; }, 5.0f));
    const int32_t score = Score;
    game.Step(0.02f, 500);  // the time of a won game no longer runs out
    EXPECT_EQ(ScreenState, Play);
    EXPECT_EQ(PlayPhase, PhasePlaying);
    EXPECT_GE(LevelBar, 73.0f);

    game.Click(WonButtonX, WonButtonY);
    EXPECT_EQ(ScreenState, HighScores);
    EXPECT_EQ(GameWon, 0);
    ASSERT_EQ(NameEntryOpen, 1);  // the winner types a name like after a game over
    game.WaitForScreen();
    game.Type("Winner");
    game.Press(platform::TestKey::Enter);
    const int slot = 3 + 8 - 6;
    int entries = 0;
    for (int row = 0; row < 9; ++row) entries += HighScoreTable[row][slot].Score == score ? 1 : 0;
    EXPECT_EQ(entries, 1);
    EXPECT_STREQ(HighScoreTable[0][slot].Name, "Winner");

    game.RunUntil([] { return ShatterActive == 0; }, 5.0f);
    game.Click(BackX, BackY);
    game.RunUntil([] { return ShatterActive == 0; }, 5.0f);
    game.NewGameFromMenu(Timed, 8);
    EXPECT_EQ(GameWon, 0);
    // The next game's first full bar completes its level with the completion sound.
    LevelBar = 72.5f;
    EffectRequests.clear();
    const auto next = Moves().front();
    ClickSquares(game, next.first, next.second);
    EXPECT_TRUE(game.RunUntil([] { return PlayPhase == PhaseLevelComplete; }, 5.0f));
    EXPECT_NE(std::find(EffectRequests.begin(), EffectRequests.end(), Effect::LevelDone),
              EffectRequests.end());
}

TEST(PlayStateTest, TheNameBoxLocksTheButtonsItRulesOutAndPlayTypingChangesNothing) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(Untimed, 6);
    Score = 4200;
    PlayPhase = PhaseNoMovesUntimed;
    ASSERT_TRUE(game.RunUntil([] { return ScreenState == HighScores; }, 8.0f));
    game.WaitForScreen();
    ASSERT_EQ(NameEntryOpen, 1);
    game.Type("Zoe");
    // Back and the page arrows are drawn ruled out: they do nothing while the box is open.
    for (const auto& [x, y] : {std::pair{BackX, BackY}, {83, 446}, {552, 446}}) {
        game.Click(x, y);
        EXPECT_EQ(ScreenState, HighScores);
        EXPECT_EQ(NameEntryOpen, 1);
        EXPECT_EQ(HighScorePage, 6);
    }
    game.Press(platform::TestKey::Enter);
    EXPECT_EQ(NameEntryOpen, 0);
    EXPECT_STREQ(HighScoreTable[0][0].Name, "Zoe");
    const std::vector<uint8_t> saved = ReadSave();
    EXPECT_EQ(saved.size(), SaveFileSize);
    game.Click(552, 446);
    EXPECT_EQ(HighScorePage, 7);
    game.Click(BackX, BackY);
    EXPECT_EQ(ScreenState, MainMenu);

    game.RunUntil([] { return ShatterActive == 0; }, 5.0f);
    game.NewGameFromMenu(Untimed, 6);
    game.Type("xyz");
    game.Press(platform::TestKey::Enter);
    EXPECT_STREQ(HighScoreTable[0][0].Name, "Zoe");
    EXPECT_EQ(NameLength, 3);
    EXPECT_EQ(PlayPhase, PhasePlaying);
    EXPECT_EQ(ReadSave(), saved);  // Enter during play saves nothing
}

// ---- What a rest scores ----

namespace rest {

// A game of the mode and kinds at `level` with `bar`, its board dealt at the tick `tick`, the
// first move found flagged to swap on the next frame.
void SwapPending(uint32_t tick, int mode, int kinds, int32_t level, float bar) {
    platform::UseManualClock(tick);
    ResetPlay();
    ScreenState = Play;
    NoGameToContinue = 0;
    GameMode = static_cast<uint8_t>(mode);
    KindCount = kinds;
    Level = level;
    Score = 0;
    LevelBar = ShownLevelBar = bar;
    NewBoard(KindCount);
    const auto move = Moves().front();
    SelectedSquare = move.first;
    TargetSquare = move.second;
    CellAt(SelectedSquare).Selected = 1;
    CellAt(TargetSquare).Selected = 1;
    CellAt(TargetSquare).SwapTarget = 1;
}

// What a game ends with after the rules run: score, bar, level, phase and won flag.
struct Outcome {
    int32_t Score;
    float Bar;
    int32_t Level;
    int32_t Phase;
    int Won;
};
Outcome Now() { return {Score, LevelBar, Level, PlayPhase, GameWon}; }

// The same swap played frame by frame, 20 ms apart, until nothing moves.
Outcome Played() {
    for (int frame = 0; frame < 10000; ++frame) {
        if (Falling == 0 && HintActive == 0 && CellAt(TargetSquare).SwapTarget == 0) break;
        platform::AdvanceManualClock(0.02);
        SwapAnimation(0.02f);
        AdvanceFall(0.02f);
        HintAnimation(0.02f);
    }
    return Now();
}

}  // namespace rest

// A close just before a swap lands: bringing play to rest draws the numbers the same frames of
// play would draw, so it scores what play would (no endless chain), and it never completes a
// level itself: a bar it fills is left full for the resumed game to complete on screen.
TEST(RestScoreTest, ARestScoresWhatTheSameFramesOfPlayWouldAndCompletesNoLevel) {
    constexpr int Ticks = 3000;
    int filled = 0, chains = 0, worst = 0;
    for (int i = 0; i < Ticks; ++i) {
        const uint32_t tick = 100000u + 37u * static_cast<uint32_t>(i);
        const int kinds = 6 + i % 3;
        const int32_t level = i % 2 == 0 ? LastLevel : 4;
        rest::SwapPending(tick, i % 2, kinds, level, 65.0f);
        const rest::Outcome played = rest::Played();
        rest::SwapPending(tick, i % 2, kinds, level, 65.0f);
        BringPlayToRest();
        const rest::Outcome rested = rest::Now();
        ASSERT_EQ(rested.Score, played.Score) << "tick " << tick;
        ASSERT_EQ(rested.Bar, played.Bar) << "tick " << tick;
        ASSERT_EQ(rested.Level, level) << "tick " << tick;
        ASSERT_EQ(rested.Phase, PhasePlaying) << "tick " << tick;
        ASSERT_EQ(rested.Won, 0) << "tick " << tick;
        filled += rested.Bar >= LevelBarFull ? 1 : 0;
        chains += rested.Score > 30 ? 1 : 0;
        worst = std::max(worst, rested.Score);
    }
    std::printf("%d rests: %d filled the bar, %d chained, best score %d\n", Ticks, filled, chains,
                worst);
    EXPECT_GT(filled, 0);
    EXPECT_LT(worst, 1000);
}

}  // namespace

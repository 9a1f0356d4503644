// Tests of the save file: exact layout, round trip, first start, damaged files, safe replace, one
// game at a time.
#include "screens/save_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "../support/save_holder.h"
#include "audio/music.h"
#include "game/board.h"
#include "game/hud.h"
#include "game/matching.h"
#include "game/score_tables.h"
#include "gfx/display.h"
#include "platform/files.h"
#include "shared/random.h"
#include "shared/state.h"

namespace {

namespace fs = std::filesystem;

// Runs each test in a fresh empty folder, the game's working directory.
class SaveFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("pelmaro_save_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(home_);
        fs::remove_all(dir_);
    }
    fs::path home_, dir_;
};

std::vector<uint8_t> ReadAll(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const char* name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// The golden file is assembled here byte by byte, independent of the code under test.
void Put32(std::vector<uint8_t>& g, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) g[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t FloatBits(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return bits;
}

// A game in progress with a value in every field that differs from the first-start values.
void SetDistinctState() {
    KindCount = 7;
    GameMode = 1;
    LevelBar = 12.5f;
    ShownLevelBar = 11.25f;
    ResetHighScores();
    std::snprintf(HighScoreTable[0][0].Name, HighScoreNameSize, "%s", "Alice");
    HighScoreTable[0][0].Score = 5000;
    std::memset(HighScoreTable[8][5].Name, 0, HighScoreNameSize);
    std::snprintf(HighScoreTable[8][5].Name, HighScoreNameSize, "%s", "Zed");
    HighScoreTable[8][5].Score = -7;
    Level = 42;
    Score = 123456;
    ShownScore = 1000.5f;
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 8; ++r) {
            Cell& cell = Board[c * 8 + r];
            cell = Cell{};
            cell.X = 236.0f + 50.0f * c;
            cell.Y = 4.0f + 50.0f * r;
            cell.Kind = static_cast<uint8_t>((c + 2 * r) % 7);
        }
    }
    Board[8].Kind = 2;  // the board's one move: (0,0) with (1,0) lines up row 0's 2s
    Board[9].Frame = 3.0f;
    Board[9].SwapTarget = 1;
    Board[9].Selected = 1;
    Board[63].Kind = EmptyKind;
    NoGameToContinue = 0;
    FullScreen = 1;
    EasyFood = 0;
    SystemCursor = 0;
    MusicSlider = 300;
    SoundSlider = 250;
}

std::vector<uint8_t> GoldenOfDistinctState() {
    std::vector<uint8_t> g(6933, 0);
    Put32(g, 0, 7);
    g[4] = 1;
    Put32(g, 5, 0x41480000);  // 12.5f
    Put32(g, 9, 0x41340000);  // 11.25f
    for (int row = 0; row < 9; ++row) {
        for (int slot = 0; slot < 6; ++slot) {
            std::size_t at = 13 + (row * 6 + slot) * 104;
            std::memcpy(&g[at], "Empty ", 6);
            Put32(g, at + 100, static_cast<uint32_t>(1000 - 100 * row));
        }
    }
    std::memcpy(&g[13], "Alice\0", 6);
    Put32(g, 13 + 100, 5000);
    std::size_t last = 13 + (8 * 6 + 5) * 104;
    std::memcpy(&g[last], "Zed\0\0\0", 6);
    Put32(g, last + 100, static_cast<uint32_t>(-7));
    Put32(g, 5629, 42);
    Put32(g, 5633, 123456);
    Put32(g, 5637, 0x447A2000);  // 1000.5f
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 8; ++r) {
            std::size_t at = 5641 + (c * 8 + r) * 20;
            Put32(g, at, FloatBits(236.0f + 50.0f * c));
            Put32(g, at + 4, FloatBits(4.0f + 50.0f * r));
            g[at + 8] = static_cast<uint8_t>((c + 2 * r) % 7);
        }
    }
    g[5641 + 8 * 20 + 8] = 2;
    std::size_t cell9 = 5641 + 9 * 20;
    Put32(g, cell9 + 12, 0x40400000);  // 3.0f
    g[cell9 + 16] = 1;
    g[cell9 + 17] = 1;
    g[5641 + 63 * 20 + 8] = 9;
    g[6921] = 0;
    g[6922] = 1;
    g[6923] = 0;
    g[6924] = 0;
    Put32(g, 6925, 300);
    Put32(g, 6929, 250);
    return g;
}

TEST_F(SaveFileTest, WritesTheExactLayout) {
    SetDistinctState();
    std::vector<uint8_t> file = EncodeSave();
    ASSERT_EQ(file.size(), 6933u);
    std::vector<uint8_t> golden = GoldenOfDistinctState();
    for (std::size_t i = 0; i < file.size(); ++i) ASSERT_EQ(file[i], golden[i]) << "offset " << i;
    // The landmarks, spelled out.
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 4),
              (std::vector<uint8_t>{7, 0, 0, 0}));
    EXPECT_EQ(file[4], 1);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 5, file.begin() + 9),
              (std::vector<uint8_t>{0x00, 0x00, 0x48, 0x41}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[13])), "Alice");
    EXPECT_EQ(file[5629], 42);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 5641, file.begin() + 5645),
              (std::vector<uint8_t>{0x00, 0x00, 0x6C, 0x43}));  // 236.0f
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 6921, file.begin() + 6925),
              (std::vector<uint8_t>{0, 1, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 6925, file.end()),
              (std::vector<uint8_t>{44, 1, 0, 0, 250, 0, 0, 0}));
    // The file holds the same layout, of the game brought to rest.
    ASSERT_TRUE(SaveGame());
    EXPECT_EQ(ReadAll("game.sav"), EncodeSave());
    EXPECT_FALSE(fs::exists("game.sav.new"));
}

TEST_F(SaveFileTest, RoundTripRestoresEveryField) {
    SetDistinctState();
    ASSERT_TRUE(SaveGame());
    const std::vector<uint8_t> saved = ReadAll("game.sav");
    ResetHighScores();
    NewBoard(6);
    KindCount = 6;
    GameMode = 0;
    Level = 3;
    Score = 1;
    LevelBar = ShownLevelBar = ShownScore = 0.0f;
    NoGameToContinue = 1;
    FullScreen = 0;
    EasyFood = SystemCursor = 1;
    MusicSlider = SoundSlider = 391;

    ASSERT_TRUE(LoadGame());
    EXPECT_EQ(EncodeSave(), saved);
    EXPECT_EQ(Level, 42);
    EXPECT_EQ(Board[9].Kind, 3);
    EXPECT_EQ(Board[9].Selected, 0);  // saved at rest: nothing selected
    EXPECT_FLOAT_EQ(MusicVolume, 71.0f / 164.0f);
}

TEST_F(SaveFileTest, FirstStartWithoutFileKeepsInitialValues) {
    EXPECT_FALSE(SaveFileReadable());
    EXPECT_FALSE(LoadGame());
    EXPECT_EQ(KindCount, 6);
    EXPECT_EQ(GameMode, 0);
    EXPECT_EQ(Level, 1);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(NoGameToContinue, 1);
    EXPECT_EQ(FullScreen, 0);
    EXPECT_EQ(EasyFood, 1);
    EXPECT_EQ(SystemCursor, 1);
    EXPECT_EQ(MusicSlider, 391);
    EXPECT_EQ(SoundSlider, 391);
    ResetHighScores();
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_STREQ(HighScoreTable[0][slot].Name, "Empty ");
        EXPECT_EQ(HighScoreTable[0][slot].Score, 1000);
        EXPECT_EQ(HighScoreTable[8][slot].Score, 200);
    }
}

// After any load the game values must be playable, whatever the file held.
void ExpectPlayableState() {
    EXPECT_GE(KindCount, 6);
    EXPECT_LE(KindCount, 8);
    EXPECT_LE(GameMode, 1);
    EXPECT_GE(Level, 1);
    EXPECT_LE(Level, 99);
    EXPECT_TRUE(std::isfinite(LevelBar) && std::isfinite(ShownLevelBar) &&
                std::isfinite(ShownScore));
    for (const Cell& cell : Board) {
        EXPECT_TRUE(cell.Kind < 8 || cell.Kind == EmptyKind);
        EXPECT_TRUE(std::isfinite(cell.X) && std::isfinite(cell.Y) && std::isfinite(cell.Frame));
    }
    for (auto& row : HighScoreTable) {
        for (auto& entry : row) {
            std::size_t length = strnlen(entry.Name, HighScoreNameSize);
            ASSERT_LT(length, static_cast<std::size_t>(HighScoreNameSize));
            for (std::size_t i = 0; i < length; ++i) {
                EXPECT_GE(entry.Name[i], 32);
                EXPECT_LE(entry.Name[i], 126);
            }
        }
    }
    EXPECT_GE(MusicSlider, 227);
    EXPECT_LE(MusicSlider, 391);
    EXPECT_GE(SoundSlider, 227);
    EXPECT_LE(SoundSlider, 391);
}

TEST_F(SaveFileTest, ShortFilesGiveAFreshGame) {
    for (std::size_t length : {0, 1, 4, 100, 5628, 5629, 6920, 6921}) {
        SCOPED_TRACE(length);
        SetDistinctState();
        std::vector<uint8_t> bytes = GoldenOfDistinctState();
        bytes.resize(length);
        WriteAll("game.sav", bytes);
        ASSERT_TRUE(LoadGame());
        ExpectPlayableState();
        EXPECT_EQ(KindCount, 6);
        EXPECT_EQ(Level, 1);
        EXPECT_EQ(Score, 0);
        EXPECT_EQ(NoGameToContinue, 1);
        // Options beyond the end keep their values; the tables are read only when complete.
        EXPECT_EQ(FullScreen, 1);
        EXPECT_EQ(MusicSlider, 300);
        EXPECT_EQ(HighScoreTable[0][0].Score, length >= 5629 ? 5000 : 1000);
    }
}

TEST_F(SaveFileTest, FileCutInsideTheOptionsKeepsTheGameButNotTheMissingOptions) {
    SetDistinctState();
    std::vector<uint8_t> bytes = GoldenOfDistinctState();
    bytes.resize(6927);  // the music knob is cut in half, the sound knob missing
    WriteAll("game.sav", bytes);
    MusicSlider = SoundSlider = 391;
    ASSERT_TRUE(LoadGame());
    EXPECT_EQ(Level, 42);
    EXPECT_EQ(NoGameToContinue, 0);
    EXPECT_EQ(SystemCursor, 0);
    EXPECT_EQ(MusicSlider, 391);
    EXPECT_EQ(SoundSlider, 391);
}

TEST_F(SaveFileTest, LongFileIgnoresTheExcess) {
    SetDistinctState();
    std::vector<uint8_t> bytes = GoldenOfDistinctState();
    WriteAll("game.sav", bytes);
    SeedRandom(1);
    ASSERT_TRUE(LoadGame());
    const std::vector<uint8_t> exact = EncodeSave();
    bytes.resize(100000, 0xEE);
    WriteAll("game.sav", bytes);
    NewBoard(6);
    Level = 1;
    SeedRandom(1);
    ASSERT_TRUE(LoadGame());
    EXPECT_EQ(EncodeSave(), exact);
    EXPECT_EQ(Level, 42);
}

TEST_F(SaveFileTest, RandomFilesNeverBreakTheGame) {
    std::mt19937 random(12345);
    for (int i = 0; i < 300; ++i) {
        std::vector<uint8_t> bytes(random() % 8000);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
        DecodeSave(bytes.data(), bytes.size());
        ExpectPlayableState();
    }
    DecodeSave(nullptr, 0);
    ExpectPlayableState();
}

// Loads the distinct state with one field of the file changed.
void LoadWithPatch(std::size_t at, const std::vector<uint8_t>& patch) {
    std::vector<uint8_t> bytes = GoldenOfDistinctState();
    std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<long>(at));
    SetDistinctState();
    DecodeSave(bytes.data(), bytes.size());
}

TEST_F(SaveFileTest, ImpossibleGameValuesGiveAFreshGameButKeepTablesAndOptions) {
    const uint8_t nan[4] = {0x00, 0x00, 0xC0, 0x7F};
    struct Case {
        const char* what;
        std::size_t at;
        std::vector<uint8_t> patch;
    } cases[] = {
        {"KindCount 5", 0, {5, 0, 0, 0}},
        {"KindCount 9", 0, {9, 0, 0, 0}},
        {"KindCount negative", 0, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"GameMode 2", 4, {2}},
        {"LevelBar NaN", 5, {nan, nan + 4}},
        {"ShownLevelBar infinite", 9, {0x00, 0x00, 0x80, 0x7F}},
        {"Level 0", 5629, {0, 0, 0, 0}},
        {"Level 100", 5629, {100, 0, 0, 0}},
        {"Score huge", 5633, {0xFF, 0xFF, 0xFF, 0x7F}},
        {"ShownScore NaN", 5637, {nan, nan + 4}},
        {"Kind 10", 5641 + 8, {10}},
        {"Kind 8", 5641 + 20 * 30 + 8, {8}},
        {"Kind 255", 5641 + 20 * 63 + 8, {255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoadWithPatch(c.at, c.patch);
        ExpectPlayableState();
        EXPECT_EQ(KindCount, 6);
        EXPECT_EQ(GameMode, 0);
        EXPECT_EQ(Level, 1);
        EXPECT_EQ(Score, 0);
        EXPECT_EQ(LevelBar, 0.0f);
        EXPECT_EQ(NoGameToContinue, 1);
        EXPECT_STREQ(HighScoreTable[0][0].Name, "Alice");
        EXPECT_EQ(FullScreen, 1);
        EXPECT_EQ(SoundSlider, 250);
    }
}

TEST_F(SaveFileTest, DamagedCellPositionsAndFlagsAreMended) {
    std::size_t cell = 5641 + 9 * 20;                      // column 1, row 1
    std::vector<uint8_t> patch = {0x00, 0x00, 0xC0, 0x7F,  // X NaN
                                  0x00, 0x40, 0x1C, 0x46,  // Y 10000
                                  3,    0,    0,    0,    0x00, 0x00, 0x80, 0x7F,  // Frame infinite
                                  7,    200,  0,    0};
    LoadWithPatch(cell, patch);
    EXPECT_EQ(Level, 42);
    EXPECT_EQ(Board[9].X, 286.0f);
    EXPECT_EQ(Board[9].Y, 54.0f);
    EXPECT_EQ(Board[9].Kind, 3);
    EXPECT_EQ(Board[9].Frame, 0.0f);
    EXPECT_EQ(Board[9].SwapTarget, 0);
    EXPECT_EQ(Board[9].Selected, 0);
}

// What every resumed game must be: a full board at rest, no line standing, a move to make.
void ExpectBoardAtRest() {
    EXPECT_TRUE(BoardFull());
    EXPECT_FALSE(AnyMatch());
    EXPECT_TRUE(AnyMovePossible());
    for (int i = 0; i < 64; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Board[i].X, 236.0f + 50.0f * (i / 8));
        EXPECT_EQ(Board[i].Y, 4.0f + 50.0f * (i % 8));
        EXPECT_EQ(Board[i].SwapTarget, 0);
        EXPECT_EQ(Board[i].Selected, 0);
    }
}

TEST_F(SaveFileTest, GamesStoredInMotionResumeAtRestWithAMove) {
    // Earlier versions saved a game mid-fall (empty squares), mid-swap (half-slid, flagged), with
    // a line still standing before its chain, or on a board without a move.
    std::vector<uint8_t> bytes = GoldenOfDistinctState();
    auto kindAt = [&bytes](int c, int r) -> uint8_t& { return bytes[5641 + (c * 8 + r) * 20 + 8]; };
    kindAt(4, 0) = kindAt(4, 1) = kindAt(4, 2) = 9;   // a column falling, and cell 63 empty
    Put32(bytes, 5641 + 20 * 20, FloatBits(271.5f));  // a piece half-way through a swap
    bytes[5641 + 20 * 20 + 16] = 1;
    kindAt(6, 3) = kindAt(6, 4) = kindAt(6, 5) = 1;  // a line standing
    WriteAll("game.sav", bytes);
    ASSERT_TRUE(LoadGame());
    EXPECT_EQ(NoGameToContinue, 0);
    EXPECT_EQ(Level, 42);
    EXPECT_EQ(Score, 123456);
    ExpectBoardAtRest();
    EXPECT_EQ(Board[0].Kind, 0);  // pieces that stood well are kept
    EXPECT_EQ(Board[57].Kind, 2);

    bytes = GoldenOfDistinctState();
    kindAt(1, 0) = 1;  // back to the board without any move
    kindAt(7, 7) = 0;
    WriteAll("game.sav", bytes);
    ASSERT_TRUE(LoadGame());
    ExpectBoardAtRest();
    EXPECT_EQ(KindCount, 7);  // a new board of the same game
    EXPECT_EQ(GameMode, 1);
    EXPECT_EQ(Level, 42);
    EXPECT_EQ(Score, 123456);
    for (const Cell& cell : Board) EXPECT_LT(cell.Kind, 7);
}

TEST_F(SaveFileTest, NamesAreCutAndStripped) {
    std::vector<uint8_t> longName(104, 'A');  // no terminator at all, score bytes 'AAAA'
    LoadWithPatch(13, longName);
    EXPECT_EQ(std::string(HighScoreTable[0][0].Name), std::string(99, 'A'));
    EXPECT_EQ(HighScoreTable[0][0].Score, 0x41414141);

    std::vector<uint8_t> oddName = {'B', 7, 'o', 0xE9, '\n', 'b', 127, 0, 'x'};
    LoadWithPatch(13 + 104, oddName);
    EXPECT_STREQ(HighScoreTable[0][1].Name, "Bob");
    EXPECT_EQ(Level, 42);
}

TEST_F(SaveFileTest, OddOptionBytesKeepTheirValues) {
    // Switches 2, 9 and 255; knobs 4096 and the most negative int32.
    LoadWithPatch(6922, {2, 9, 0xFF, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80});
    EXPECT_EQ(FullScreen, 1);
    EXPECT_EQ(EasyFood, 0);
    EXPECT_EQ(SystemCursor, 0);
    EXPECT_EQ(MusicSlider, 391);
    EXPECT_EQ(SoundSlider, 227);
    EXPECT_EQ(Level, 42);
}

TEST_F(SaveFileTest, SaveThatIsNoPlainFileCountsAsNoSaveAndNeverBlocks) {
    SetDistinctState();
    const std::vector<uint8_t> state = EncodeSave();
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    fs::create_directory("folder");
    for (const char* target : {"pipe", "folder", "/dev/zero"}) {
        SCOPED_TRACE(target);
        fs::create_symlink(target, "game.sav");
        EXPECT_FALSE(LoadGame());  // a pipe with no writer would wait here for ever
        EXPECT_FALSE(SaveFileReadable());
        EXPECT_EQ(EncodeSave(), state);
        EXPECT_TRUE(fs::is_symlink("game.sav"));
        fs::remove("game.sav");
    }
    // A folder under the save's name: there was no game saved before, and the box says only what
    // failed.
    fs::create_directory("game.sav");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveGame());
    const std::string box = testing::internal::GetCapturedStderr();
    EXPECT_NE(box.find((dir_ / "game.sav").string() + "\n(Is a directory)."), std::string::npos)
        << box;
    EXPECT_EQ(box.find("kept"), std::string::npos) << box;
    EXPECT_TRUE(fs::is_directory("game.sav"));
}

// Runs `check` in a child process as a player other than the owner of the test's files (user
// nobody when the tests run as root, when permissions would not stop anything); its result.
bool AsAnotherPlayer(const std::function<bool()>& check) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(SaveFileTest, ASaveThatCannotBeReadIsNeverTakenForNoneAndABadOneIsKeptAside) {
    // An I/O error: the process's memory is a plain file whose first bytes cannot be read.
    fs::create_symlink("/proc/self/mem", "game.sav");
    std::string reason;
    EXPECT_TRUE(SaveFileUnreadable(reason));
    EXPECT_EQ(reason, "Input/output error");
    fs::remove("game.sav");
    // No permission: a save of another user's, readable by its owner alone.
    SetDistinctState();
    ASSERT_TRUE(SaveGame());
    const std::vector<uint8_t> saved = ReadAll("game.sav");
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::others_exec);
    ASSERT_EQ(chmod("game.sav", 0600), 0);
    EXPECT_TRUE(AsAnotherPlayer([] {
        std::string why;
        return SaveFileUnreadable(why) && why == "Permission denied";
    }));
    // A readable save, no save at all, or something that is no plain file are not unreadable.
    EXPECT_FALSE(SaveFileUnreadable(reason));
    fs::rename("game.sav", "kept");
    EXPECT_FALSE(SaveFileUnreadable(reason));
    fs::create_directory("game.sav");
    EXPECT_FALSE(SaveFileUnreadable(reason));
    fs::remove("game.sav");

    // A file that holds no sound game gives a fresh one, after it is kept whole beside the save.
    std::vector<uint8_t> bad = saved;
    bad[5629] = 200;  // level 200
    bad.push_back(7);
    WriteAll("game.sav", bad);
    ASSERT_TRUE(LoadGame());
    EXPECT_EQ(Level, 1);
    EXPECT_EQ(NoGameToContinue, 1);
    EXPECT_EQ(ReadAll("game.sav.bad"), bad);
    EXPECT_FALSE(fs::exists("game.sav"));
    // A sound one stays where it is.
    fs::rename("kept", "game.sav");
    ASSERT_TRUE(LoadGame());
    EXPECT_EQ(Level, 42);
    EXPECT_EQ(ReadAll("game.sav"), saved);
    EXPECT_EQ(ReadAll("game.sav.bad"), bad);
}

// The new files saves left beside "game.sav" (none once every save has finished), links
// included.
std::vector<std::string> NewFilesLeft() {
    std::vector<std::string> left;
    for (const fs::directory_entry& entry : fs::directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("game.sav.", 0) == 0 && name.size() > 13 &&
            name.compare(name.size() - 4, 4, ".new") == 0)
            left.push_back(name);
    }
    return left;
}

// Files may grow to `bytes` only while it lives, as on a disk about to be full; writing beyond
// fails with "File too large".
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &before_);
        // The game's own start-up step: without it the write past the limit ends the process.
        platform::ReportFileSizeLimitAsFailure();
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, SIG_DFL);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit before_{};
};

TEST_F(SaveFileTest, FailedWriteLeavesThePreviousFileIntactAndTheBoxSaysWhatFailed) {
    // A folder where earlier versions put their new file no longer stands in the way.
    fs::create_directory("game.sav.new");
    SetDistinctState();
    ASSERT_TRUE(SaveGame());
    EXPECT_TRUE(fs::is_directory("game.sav.new"));
    const std::vector<uint8_t> before = ReadAll("game.sav");
    Level = 77;

    testing::internal::CaptureStderr();  // where the box's text goes without a display
    {
        FileSizeLimit full(4096);  // the disk fills up mid-write
        EXPECT_FALSE(SaveGame());
    }
    const std::string box = testing::internal::GetCapturedStderr();
    // The save, then the new file that could not be written and why, then the truth about the
    // game saved before.
    const std::string save = (dir_ / "game.sav").string();
    EXPECT_NE(box.find("Your game could not be saved to\n" + save + "\n(" + save + "."),
              std::string::npos)
        << box;
    EXPECT_NE(box.find(".new: File too large).\nThe game saved before is kept as it was."),
              std::string::npos)
        << box;
    EXPECT_EQ(ReadAll("game.sav"), before);
    EXPECT_TRUE(NewFilesLeft().empty());

    EXPECT_TRUE(SaveGame());
    EXPECT_EQ(ReadAll("game.sav")[5629], 77);
}

TEST_F(SaveFileTest, SaveNeverWritesThroughALinkBesideIt) {
    // Links planted under the name earlier versions used and under the first names this game
    // picks for its new file; one points at another file, the others nowhere.
    WriteAll("other", {1, 2, 3});
    fs::create_symlink("other", "game.sav.new");
    const std::string mine = "game.sav." + std::to_string(getpid()) + "-";
    for (int n = 1; n <= 20; ++n)
        fs::create_symlink(n == 1 ? "other" : "nowhere" + std::to_string(n),
                           mine + std::to_string(n) + ".new");
    SetDistinctState();
    ASSERT_TRUE(SaveGame());
    EXPECT_EQ(ReadAll("other"), (std::vector<uint8_t>{1, 2, 3}));
    for (int n = 2; n <= 20; ++n) EXPECT_FALSE(fs::exists("nowhere" + std::to_string(n)));
    EXPECT_FALSE(fs::is_symlink("game.sav"));
    EXPECT_EQ(ReadAll("game.sav"), EncodeSave());
    // Only its owner may read the save.
    EXPECT_EQ(fs::status("game.sav").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // The planted links are left alone.
    EXPECT_TRUE(fs::is_symlink("game.sav.new"));
    EXPECT_EQ(NewFilesLeft().size(), 20u);
}

TEST_F(SaveFileTest, TwoGamesSavingAtOnceBothSucceedAndTheFileIsAlwaysWhole) {
    // Two processes save as fast as they can into the same folder, each its own game; meanwhile
    // every read of the file finds one game or the other, whole.
    constexpr int Saves = 150;
    std::vector<uint8_t> games[2];
    pid_t writers[2];
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::fflush(nullptr);
    for (int w = 0; w < 2; ++w) {
        SetDistinctState();
        Level = 10 + w;
        ASSERT_TRUE(SaveGame());
        games[w] = ReadAll("game.sav");
        writers[w] = fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            close(start[1]);
            char go = 0;
            if (read(start[0], &go, 1) != 0) _exit(2);
            int failed = 0;
            for (int i = 0; i < Saves; ++i) failed += SaveGame() ? 0 : 1;
            _exit(failed == 0 ? 0 : 1);
        }
    }
    close(start[0]);
    close(start[1]);  // both start
    int finished = 0;
    int reads = 0;
    int status[2] = {-1, -1};
    while (finished < 2) {
        const std::vector<uint8_t> now = ReadAll("game.sav");
        ++reads;
        ASSERT_TRUE(now == games[0] || now == games[1]) << "a read of " << now.size() << " bytes";
        for (int w = 0; w < 2; ++w) {
            if (status[w] == -1 && waitpid(writers[w], &status[w], WNOHANG) == writers[w])
                ++finished;
        }
    }
    for (int w = 0; w < 2; ++w) {
        ASSERT_TRUE(WIFEXITED(status[w]));
        EXPECT_EQ(WEXITSTATUS(status[w]), 0) << "writer " << w << " was told a save failed";
    }
    EXPECT_GT(reads, 1);
    EXPECT_TRUE(NewFilesLeft().empty());
}

TEST_F(SaveFileTest, OneGameAtATimeHoldsTheSaveUntilItsProcessEnds) {
    const pid_t first = HoldSaveInAnotherProcess();
    ASSERT_GT(first, 0);
    EXPECT_EQ(ClaimSaveFile(), platform::FileLock::HeldElsewhere);  // a second game finds it taken
    EXPECT_FALSE(fs::exists("game.sav"));
    ASSERT_TRUE(EndSaveHolder(first));  // the first game dies without a word
    // It may have died mid-save: its new file goes once the save is claimed again, while links and
    // other files stay.
    WriteAll("game.sav.99999-3.new", {1});
    fs::create_symlink("elsewhere", "game.sav.99999-4.new");
    WriteAll("game.sav.99999-x.new", {2});
    EXPECT_EQ(ClaimSaveFile(), platform::FileLock::Taken);  // and leaves no lock behind
    EXPECT_FALSE(fs::exists("game.sav.99999-3.new"));
    EXPECT_TRUE(fs::is_symlink("game.sav.99999-4.new"));
    EXPECT_TRUE(fs::exists("game.sav.99999-x.new"));
    // Held here now, released when the game window goes.
    auto claimInAnotherProcess = [] {
        std::fflush(nullptr);
        const pid_t other = fork();
        if (other == 0) _exit(ClaimSaveFile() == platform::FileLock::Taken ? 1 : 0);
        int status = 0;
        waitpid(other, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 1;
    };
    EXPECT_FALSE(claimInAnotherProcess());
    ReleaseSaveFile();
    EXPECT_TRUE(claimInAnotherProcess());
}

TEST_F(SaveFileTest, NothingPlantedInTheFolderLetsASecondGameOntoTheSave) {
    // What once stood in the way of the lock file: a link, a folder, a file nobody may read, and a
    // folder the game may not write.
    const std::function<void()> plants[] = {
        [] { fs::create_symlink("/nowhere", "game.sav.lock"); },
        [] { fs::create_symlink("/etc/passwd", "game.sav.lock"); },
        [] { fs::create_directory("game.sav.lock"); },
        [] {
            WriteAll("game.sav.lock", {});
            chmod("game.sav.lock", 0);
        },
        [this] { fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec); },
    };
    for (const std::function<void()>& plant : plants) {
        plant();
        const pid_t first = HoldSaveInAnotherProcess();
        ASSERT_GT(first, 0);
        EXPECT_EQ(ClaimSaveFile(), platform::FileLock::HeldElsewhere);
        ASSERT_TRUE(EndSaveHolder(first));
        EXPECT_EQ(ClaimSaveFile(), platform::FileLock::Taken);
        ReleaseSaveFile();
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all("game.sav.lock");
    }
    // A folder the game cannot even open is refused, not played on without a lock.
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::others_exec);
    fs::create_directory("closed");
    fs::permissions("closed", fs::perms::owner_all | fs::perms::others_exec);
    EXPECT_TRUE(AsAnotherPlayer([] {
        return chdir("closed") == 0 && ClaimSaveFile() == platform::FileLock::Unavailable &&
               platform::FileLockFailure() == "Permission denied";
    }));
}

}  // namespace

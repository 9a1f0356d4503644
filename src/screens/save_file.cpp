// The save file "game.sav": the unfinished game, the high-score tables and the options.
#include "screens/save_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "audio/music.h"
#include "game/board.h"
#include "game/hud.h"
#include "game/rest.h"
#include "game/score_tables.h"
#include "gfx/change_due.h"
#include "gfx/display.h"
#include "platform/clock.h"
#include "platform/file_lock.h"
#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "screens/options.h"
#include "shared/language.h"
#include "shared/state.h"

namespace {

// Where each field lies in the file; fields follow each other without padding.
constexpr std::size_t OffKindCount = 0;
constexpr std::size_t OffGameMode = 4;
constexpr std::size_t OffLevelBar = 5;
constexpr std::size_t OffShownLevelBar = 9;
constexpr std::size_t OffTable = 13;
constexpr std::size_t EntryBytes = HighScoreNameSize + 4;
constexpr std::size_t OffLevel = OffTable + HighScoreRows * HighScoreSlots * EntryBytes;
constexpr std::size_t OffScore = OffLevel + 4;
constexpr std::size_t OffShownScore = OffScore + 4;
constexpr std::size_t OffBoard = OffShownScore + 4;
constexpr std::size_t BoardCells = BoardCellCount;
constexpr std::size_t OffNoGame = OffBoard + BoardCells * CellBytes;
constexpr std::size_t OffFullScreen = OffNoGame + 1;
constexpr std::size_t OffEasyFood = OffFullScreen + 1;
constexpr std::size_t OffSystemCursor = OffEasyFood + 1;
constexpr std::size_t OffMusicSlider = OffSystemCursor + 1;
constexpr std::size_t OffSoundSlider = OffMusicSlider + 4;

static_assert(EntryBytes == 104, "a high-score entry is 104 bytes");
static_assert(OffLevel == 5629, "Level follows the tables");
static_assert(OffBoard == 5641, "the board follows ShownScore");
static_assert(OffNoGame == 6921, "the flags follow the board");
static_assert(OffSoundSlider + 4 == SaveFileSize, "the file is 6933 bytes");
static_assert(CellBytes == 20, "a cell is 20 bytes");

// The game last saved as play went: its level, its score and when (tick count, ms); no game yet
// while KeptLevel is 0.
int32_t KeptLevel = 0;
int32_t KeptScore = 0;
uint32_t KeptAtMs = 0;

// Sane limits for the values of a resumable game.
constexpr float BarLimit = 1000.0f;
constexpr int ScoreLimit = 1000000000;
constexpr float FrameLimit = 13.0f;

// ---- Little-endian fields in a byte buffer ----

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutI32(std::vector<uint8_t>& out, int32_t v) { PutU32(out, static_cast<uint32_t>(v)); }

void PutF32(std::vector<uint8_t>& out, float v) {
    static_assert(sizeof(float) == 4, "floats are IEEE single precision");
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    PutU32(out, bits);
}

// A read-only view of the file's bytes; every read is checked against its length by the caller.
struct Bytes {
    const uint8_t* Data;
    std::size_t Size;

    bool Has(std::size_t offset, std::size_t n) const {
        return offset <= Size && n <= Size - offset;
    }
    uint8_t U8(std::size_t offset) const { return Data[offset]; }
    uint32_t U32(std::size_t offset) const {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(Data[offset + i]) << (8 * i);
        return v;
    }
    int32_t I32(std::size_t offset) const { return static_cast<int32_t>(U32(offset)); }
    float F32(std::size_t offset) const {
        uint32_t bits = U32(offset);
        float v;
        std::memcpy(&v, &bits, 4);
        return v;
    }
};

// ---- Writing ----

void PutCell(std::vector<uint8_t>& out, const Cell& cell) {
    uint8_t bytes[CellBytes];
    WriteCellBytes(cell, bytes);
    out.insert(out.end(), bytes, bytes + CellBytes);
}

void PutEntry(std::vector<uint8_t>& out, const HighScoreEntry& entry) {
    out.insert(out.end(), entry.Name, entry.Name + HighScoreNameSize);
    PutI32(out, entry.Score);
}

// Tells the player that the game could not be saved: the save file, the file that failed and
// why, and whether the game saved before is still there as it was.
void ReportSaveFailure(const platform::ReplaceFailure& failure) {
    const std::string save = platform::FullPath(SaveFileName);
    const std::string what = failure.file == save ? "" : failure.file + ": ";
    std::string text = TranslatedSentence("Your game could not be saved to\n%s\n(%s%s).",
                                          save.c_str(), what.c_str(), failure.reason.c_str());
    if (failure.oldKept)
        text += std::string("\n") + Translated("The game saved before is kept as it was.");
    platform::ShowMessageBox("Pelmaro", text);
}

// ---- Reading ----

// The game fields of a file, read before any of them reaches the globals.
struct StoredGame {
    int32_t KindCount;
    uint8_t GameMode;
    float LevelBar;
    float ShownLevelBar;
    int32_t Level;
    int32_t Score;
    float ShownScore;
    Cell Cells[BoardCells];
    uint8_t NoGameToContinue;
};

bool BarIsSound(float v) { return std::isfinite(v) && v >= -BarLimit && v <= BarLimit; }

// True when a piece position lies on the board or in the slot row just above it.
bool PositionIsSound(float x, float y) {
    return std::isfinite(x) && std::isfinite(y) && x >= 236.0f && x <= 586.0f && y >= -50.0f &&
           y <= 354.0f;
}

// Reads one cell; false when its kind cannot be played. Odd positions and flags are mended.
bool ReadCell(const Bytes& in, std::size_t index, Cell& cell) {
    cell = ReadCellBytes(in.Data + OffBoard + index * CellBytes);
    if (cell.Kind >= MaxKinds && cell.Kind != EmptyKind) return false;
    if (!PositionIsSound(cell.X, cell.Y)) {
        cell.X = static_cast<float>(BoardLeft + SquareSize * static_cast<int>(index / BoardRows));
        cell.Y = static_cast<float>(BoardTop + SquareSize * static_cast<int>(index % BoardRows));
    }
    if (!(cell.Frame >= 0.0f && cell.Frame <= FrameLimit)) cell.Frame = 0.0f;
    if (cell.SwapTarget > 1) cell.SwapTarget = 0;
    if (cell.Selected > 1) cell.Selected = 0;
    return true;
}

// Reads the game fields; false when the file is too short for them or any is impossible.
bool ReadGame(const Bytes& in, StoredGame& game) {
    if (!in.Has(0, OffNoGame + 1)) return false;
    game.KindCount = in.I32(OffKindCount);
    game.GameMode = in.U8(OffGameMode);
    game.LevelBar = in.F32(OffLevelBar);
    game.ShownLevelBar = in.F32(OffShownLevelBar);
    game.Level = in.I32(OffLevel);
    game.Score = in.I32(OffScore);
    game.ShownScore = in.F32(OffShownScore);
    game.NoGameToContinue = in.U8(OffNoGame) == 0 ? 0 : 1;
    if (game.KindCount < 6 || game.KindCount > 8 || game.GameMode > 1) return false;
    if (!BarIsSound(game.LevelBar) || !BarIsSound(game.ShownLevelBar)) return false;
    if (game.Level < 1 || game.Level > 99) return false;
    if (game.Score < -ScoreLimit || game.Score > ScoreLimit) return false;
    if (!std::isfinite(game.ShownScore) || std::fabs(game.ShownScore) > ScoreLimit) return false;
    for (std::size_t i = 0; i < BoardCells; ++i) {
        if (!ReadCell(in, i, game.Cells[i])) return false;
    }
    return true;
}

void UseGame(const StoredGame& game) {
    KindCount = game.KindCount;
    GameMode = game.GameMode;
    LevelBar = game.LevelBar;
    ShownLevelBar = game.ShownLevelBar;
    Level = game.Level;
    Score = game.Score;
    ShownScore = game.ShownScore;
    for (std::size_t i = 0; i < BoardCells; ++i) Board[i] = game.Cells[i];
    NoGameToContinue = game.NoGameToContinue;
    // Files of earlier versions could hold a game caught mid-fall or mid-swap: it resumes on a
    // full board at rest, with a move.
    if (NoGameToContinue == 0) TidyBoard();
}

// A file without a resumable game: the values of a first start and a freshly dealt board.
void UseFreshGame() {
    KindCount = 6;
    GameMode = Untimed;
    StartFirstLevel();
    NoGameToContinue = 1;
    NewBoard(KindCount);
}

// A stored name cut at 99 characters and stripped to the printable characters 32..126.
void ReadName(const Bytes& in, std::size_t at, char (&name)[HighScoreNameSize]) {
    int length = 0;
    for (int i = 0; i < HighScoreNameSize - 1; ++i) {
        uint8_t c = in.U8(at + i);
        if (c == 0) break;
        if (c >= 32 && c <= 126) name[length++] = static_cast<char>(c);
    }
    std::memset(name + length, 0, HighScoreNameSize - length);
}

// Reads the tables when the file holds all of them; otherwise the default tables stand.
void ReadTables(const Bytes& in) {
    if (!in.Has(OffTable, OffLevel - OffTable)) {
        ResetHighScores();
        return;
    }
    for (int row = 0; row < HighScoreRows; ++row) {
        for (int slot = 0; slot < HighScoreSlots; ++slot) {
            std::size_t at = OffTable + (row * HighScoreSlots + slot) * EntryBytes;
            ReadName(in, at, HighScoreTable[row][slot].Name);
            HighScoreTable[row][slot].Score = in.I32(at + HighScoreNameSize);
        }
    }
}

// An on/off option is taken from the file only when it is present and 0 or 1.
void ReadSwitch(const Bytes& in, std::size_t at, unsigned char& option) {
    if (in.Has(at, 1) && in.U8(at) <= 1) option = in.U8(at);
}

void ReadOptions(const Bytes& in) {
    ReadSwitch(in, OffFullScreen, FullScreen);
    ReadSwitch(in, OffEasyFood, EasyFood);
    ReadSwitch(in, OffSystemCursor, SystemCursor);
    if (in.Has(OffMusicSlider, 4)) MusicSlider = in.I32(OffMusicSlider);
    if (in.Has(OffSoundSlider, 4)) SoundSlider = in.I32(OffSoundSlider);
    ClampSliders();
}

}  // namespace

std::vector<uint8_t> EncodeSave() {
    std::vector<uint8_t> out;
    out.reserve(SaveFileSize);
    PutI32(out, KindCount);
    out.push_back(static_cast<uint8_t>(GameMode));
    PutF32(out, LevelBar);
    PutF32(out, ShownLevelBar);
    for (int row = 0; row < HighScoreRows; ++row) {
        for (int slot = 0; slot < HighScoreSlots; ++slot) PutEntry(out, HighScoreTable[row][slot]);
    }
    PutI32(out, Level);
    PutI32(out, Score);
    PutF32(out, ShownScore);
    for (const Cell& cell : Board) PutCell(out, cell);
    out.push_back(NoGameToContinue);
    out.push_back(FullScreen);
    out.push_back(EasyFood);
    out.push_back(SystemCursor);
    PutI32(out, MusicSlider);
    PutI32(out, SoundSlider);
    return out;
}

bool DecodeSave(const uint8_t* data, std::size_t size) {
    Bytes in{data, data ? size : 0};
    StoredGame game;
    const bool sound = ReadGame(in, game);
    if (sound) {
        UseGame(game);
    } else {
        UseFreshGame();
    }
    ReadTables(in);
    ReadOptions(in);
    MusicVolume = MusicGain();
    return sound;
}

bool SaveGame() {
    BringPlayToRest();
    // A save still being written as play went is older than this one: it lands first.
    platform::FinishBackgroundWrites();
    platform::ReplaceFailure failure{};
    if (platform::ReplaceFile(SaveFileName, EncodeSave(), failure)) return true;
    ReportSaveFailure(failure);
    return false;
}

bool LoadGame() {
    std::vector<uint8_t> bytes;
    std::string reason;
    if (platform::ReadPlainFile(SaveFileName, SaveFileSize, bytes, reason) !=
        platform::FileRead::Done)
        return false;
    // A file without a sound game is kept aside whole before the fresh game's first save.
    if (!DecodeSave(bytes.data(), bytes.size()) && std::rename(SaveFileName, BadSaveName) != 0)
        std::perror("Pelmaro: the damaged save could not be kept as game.sav.bad");
    return true;
}

bool SaveFileReadable() { return platform::PlainFileReadable(SaveFileName); }

bool SaveFileUnreadable(std::string& reason) {
    std::vector<uint8_t> bytes;
    return platform::ReadPlainFile(SaveFileName, 1, bytes, reason) == platform::FileRead::Failed;
}

platform::FileLock ClaimSaveFile() {
    const platform::FileLock lock = platform::TakeFolderLock(".");
    // No other game saves here now: what a game ended mid-save left behind can go.
    if (lock == platform::FileLock::Taken) platform::RemoveLeftoverNewFiles(SaveFileName);
    return lock;
}

void KeepGameAsPlayGoes(bool now) {
    if (ScreenState != Play || NoGameToContinue != 0) return;
    if (Level == KeptLevel && Score == KeptScore) return;
    const uint32_t nowMs = platform::TickCount();
    const float waited = static_cast<float>(nowMs - KeptAtMs) / 1000.0f;
    if (!now && Level == KeptLevel && waited < AutoSaveSeconds) {
        // Even a still board wakes the frame loop when the save is due.
        ChangeDueIn(AutoSaveSeconds - waited);
        return;
    }
    if (!PlayAtRest()) return;
    platform::ReplaceFileInBackground(SaveFileName, EncodeSave());
    KeptLevel = Level;
    KeptScore = Score;
    KeptAtMs = nowMs;
}

void ReleaseSaveFile() { platform::DropFileLock(); }

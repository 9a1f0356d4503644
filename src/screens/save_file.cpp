// The save file "game.sav": the unfinished game, the high-score tables and the options.
#include "screens/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "audio/music.h"
#include "game/board.h"
#include "game/hud.h"
#include "game/rest.h"
#include "game/score_tables.h"
#include "gfx/display.h"
#include "platform/message_box.h"
#include "screens/options.h"
#include "shared/state.h"

namespace {

const char* const SaveTempName = "game.sav.new";

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

// Writes the whole buffer to a new file, then puts it in place of the old one; on failure the
// old file stays as it was and `reason` says what went wrong.
bool ReplaceFile(const char* name, const char* tempName, const std::vector<uint8_t>& bytes,
                 std::string& reason) {
    std::FILE* file = std::fopen(tempName, "wb");
    if (!file) {
        reason = std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = ok && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    if (!ok) reason = std::strerror(errno);
    if (std::fclose(file) != 0 && ok) {
        reason = std::strerror(errno);
        ok = false;
    }
    if (ok && std::rename(tempName, name) != 0) {
        reason = std::strerror(errno);
        ok = false;
    }
    if (!ok) std::remove(tempName);
    return ok;
}

// Tells the player that the game could not be saved, naming the file and the reason.
void ReportSaveFailure(const std::string& reason) {
    std::error_code unknown;
    const std::string where = (std::filesystem::current_path(unknown) / SaveFileName).string();
    platform::ShowMessageBox("Pelmaro", "Your game could not be saved to\n" + where + "\n(" +
                                            reason +
                                            ").\nThe game saved before is kept as it was.");
}

// Opens the save file for reading without waiting on it; -1 when it cannot be opened or is not
// a plain file (a folder, a device, a pipe with nobody writing), which counts as no save.
int OpenSaveFile() {
    const int fd = open(SaveFileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
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

void DecodeSave(const uint8_t* data, std::size_t size) {
    Bytes in{data, data ? size : 0};
    StoredGame game;
    if (ReadGame(in, game)) {
        UseGame(game);
    } else {
        UseFreshGame();
    }
    ReadTables(in);
    ReadOptions(in);
    MusicVolume = MusicGain();
}

bool SaveGame() {
    BringPlayToRest();
    std::string reason;
    if (ReplaceFile(SaveFileName, SaveTempName, EncodeSave(), reason)) return true;
    ReportSaveFailure(reason);
    return false;
}

bool LoadGame() {
    const int fd = OpenSaveFile();
    if (fd < 0) return false;
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    ssize_t got = 0;
    while (bytes.size() <= SaveFileSize && (got = read(fd, chunk, sizeof chunk)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    close(fd);
    DecodeSave(bytes.data(), bytes.size());
    return true;
}

bool SaveFileReadable() {
    const int fd = OpenSaveFile();
    if (fd < 0) return false;
    close(fd);
    return true;
}

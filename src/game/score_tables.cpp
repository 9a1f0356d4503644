// The six high-score tables and their entry rules.
#include "game/score_tables.h"

#include <cstdio>
#include <cstring>

#include "game/board.h"

HighScoreEntry HighScoreTable[HighScoreRows][HighScoreSlots] = {};
int HighScorePage = 6;
int InsertRow = 10;
unsigned char ScorePlaced = 0;
unsigned char NameEntryOpen = 0;
char NameBuffer[NameMaxLength + 2] = {};
signed char NameLength = 0;
unsigned char NewGameAfterName = 0;
int InsertSlot = 0;
int PlacedScore = 0;
unsigned char NamedRowLit = 0;

namespace {

// The rows of a new table: a placeholder name, and scores 1000 down to 200.
constexpr const char* DefaultName = "Empty ";
int DefaultScore(int row) { return 1000 - 100 * row; }

}  // namespace

void ResetHighScores() {
    for (int row = 0; row < HighScoreRows; ++row) {
        for (int slot = 0; slot < HighScoreSlots; ++slot) {
            HighScoreEntry& entry = HighScoreTable[row][slot];
            std::memset(entry.Name, 0, sizeof entry.Name);
            std::snprintf(entry.Name, sizeof entry.Name, "%s", DefaultName);
            entry.Score = DefaultScore(row);
        }
    }
}

void InsertScore(int mode) {
    ScorePlaced = 0;
    NamedRowLit = 0;
    InsertSlot = (HighScorePage - 6) + 3 * mode;
    int row = 0;
    while (row < HighScoreRows && Score < HighScoreTable[row][InsertSlot].Score) ++row;
    if (row == HighScoreRows) {
        InsertRow = NoRow;
        return;
    }
    InsertRow = row;
    for (int r = HighScoreRows - 1; r > row; --r) {
        HighScoreTable[r][InsertSlot] = HighScoreTable[r - 1][InsertSlot];
    }
    HighScoreTable[row][InsertSlot].Score = Score;
    PlacedScore = Score;
    ScorePlaced = 1;
}

void StoreName() {
    if (InsertRow == NoRow) return;
    HighScoreEntry& entry = HighScoreTable[InsertRow][InsertSlot];
    std::memset(entry.Name, 0, sizeof entry.Name);
    std::memcpy(entry.Name, NameBuffer, static_cast<std::size_t>(NameLength));
    ScorePlaced = 0;
    entry.Score = PlacedScore;
    NamedRowLit = 1;
}

void EnterGameScore() {
    HighScorePage = KindCount;
    InsertScore(GameMode);
    NameEntryOpen = InsertRow != NoRow ? 1 : 0;
}

void StoreOpenName() {
    NewGameAfterName = 0;
    if (NameEntryOpen == 0) return;
    NameEntryOpen = 0;
    StoreName();
}

void NameReset() {
    NameLength = 0;
    std::memset(NameBuffer, 0, sizeof NameBuffer);
    NameBuffer[0] = '_';
}

void NameAppend(char c) {
    if (NameLength == NameMaxLength || c < 32 || c > 126) return;
    NameBuffer[NameLength] = c;
    NameBuffer[NameLength + 1] = '_';
    ++NameLength;
}

void NameBackspace() {
    if (NameLength == 0) return;
    --NameLength;
    NameBuffer[NameLength] = '_';
    NameBuffer[NameLength + 1] = 0;
}

bool IsPlaceholderRow(const HighScoreEntry& entry) {
    return std::strcmp(entry.Name, DefaultName) == 0;
}

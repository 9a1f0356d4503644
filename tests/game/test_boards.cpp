// Boards for the game-play tests, written as eight rows of eight kind digits.
#include "test_boards.h"

#include "game/falling.h"

const char* const QuietBoard[8] = {
    "30434120", "41320301", "00244211", "13103024", "20121412", "44331434", "44202021", "32034022",
};

void LoadBoard(const char* const rows[8]) {
    for (int c = 0; c < BoardColumns; ++c) {
        ResetSpawnSlot(c);
        FallColumn[c] = FallRecord{};
        for (int r = 0; r < BoardRows; ++r) {
            Cell& cell = CellAt({c, r});
            cell = Cell{};
            cell.Kind = rows[r][c] == '.' ? EmptyKind : static_cast<uint8_t>(rows[r][c] - '0');
            SetHome(c, r);
            RemoveMark[CellIndex(c, r)] = 0;
        }
    }
}

void Place(uint8_t kind, std::initializer_list<Square> squares) {
    for (Square s : squares) CellAt(s).Kind = kind;
}

std::string BoardKinds() {
    std::string text;
    for (int r = 0; r < BoardRows; ++r) {
        if (r > 0) text += '/';
        for (int c = 0; c < BoardColumns; ++c) {
            const uint8_t kind = KindAt(c, r);
            text += kind == EmptyKind ? '.' : static_cast<char>('0' + kind);
        }
    }
    return text;
}

bool AllAtHome() {
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            const Cell& cell = CellAt({c, r});
            if (cell.X != 236.0f + 50.0f * c || cell.Y != 4.0f + 50.0f * r) return false;
        }
    }
    return true;
}

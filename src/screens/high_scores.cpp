// The high-score screen: the tables of the page shown, the name box and the buttons.
#include "screens/high_scores.h"

#include <cstdio>
#include <string>

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/hud.h"
#include "game/play_screen.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "gfx/change_due.h"
#include "gfx/display.h"
#include "gfx/kept_background.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "screens/focus.h"
#include "screens/main_menu.h"
#include "screens/new_game.h"
#include "screens/save_file.h"
#include "shared/language.h"
#include "shared/state.h"

Sprite* HighScoresPicture = nullptr;
Sprite* NameBoxPicture = nullptr;

namespace {

// Animation timers of the Previous and Next arrows, in frames.
float PreviousArrowTimer = 0.0f;
float NextArrowTimer = 0.0f;

// Table columns, from a table's left edge x: the rank at x, the name from x + 15 up to the
// score column, the score right-aligned in its column.
constexpr int NameLeft = 15, ScoreLeft = 125, ScoreRight = 228;
// The band behind a highlighted row, around its text.
constexpr int BandLeft = -6, BandRight = 234, BandTop = -3, BandBottom = 20;
constexpr uint32_t BandRed = 0x8A, BandGreen = 0x6A, BandBlue = 0x2E;
// The name box, moved clear of the row being named: under a row 0..3 it covers rows 4..8 whole
// and ends above the Back button; over a lower row it covers rows 0..3 whole, under the page
// labels. Its places from its top-left corner: the name, the
// score being named right-aligned in the field, the OK button and its lit look, and the prompt;
// the prompt for a full name lies below the box in its picture.
constexpr int NameBoxX = 145, NameBoxLowTop = 279, NameBoxHighTop = 148, LastRowAboveBox = 3;
constexpr int NameBoxWidth = 350, NameBoxHeight = 130;
constexpr int BoxTextX = 24, BoxTextY = 54, BoxScoreRight = 325;
constexpr Area OkInBox{154, 87, 193, 119};
constexpr int OkLitX = 150, OkLitY = 84;
constexpr Area PromptInBox{9, 9, 341, 42};
// The chalkboard's slate, ruled in every other line over a button the name box locks.
constexpr uint32_t SlateRed = 0x2F, SlateGreen = 0x3B, SlateBlue = 0x35;

constexpr Area BackSpot{285, 425, 354, 453};
constexpr Area PreviousSpot{55, 426, 111, 466};
constexpr Area NextSpot{524, 425, 581, 468};

// 1 while the table shown after a name leads on to the new game the player left the last one
// for: Back starts it.
bool NewGameAfterTable = false;

// The name box's top edge on the screen.
int NameBoxTop() { return InsertRow <= LastRowAboveBox ? NameBoxLowTop : NameBoxHighTop; }

// The name box's OK button on the screen.
Area OkSpot() {
    const int top = NameBoxTop();
    return Area{NameBoxX + OkInBox.Left, top + OkInBox.Top, NameBoxX + OkInBox.Right,
                top + OkInBox.Bottom};
}

// True while the screen ignores its buttons: the name box is open (drawn with the buttons
// ruled out; Enter or OK confirms it), a placed score waits for its name outside normal play,
// or the screen is about to change.
bool ButtonsLocked() {
    return NameEntryOpen != 0 || (PlayPhase != 1 && ScorePlaced) || ShatterRequested;
}

// Advances an arrow timer by dt and gives the arrow frame 0..4 to show.
int ArrowFrame(float& timer, float dt) {
    timer += 8.0f * dt;
    if (timer > 4.0f) timer = 0.0f;
    const int frame = static_cast<int>(timer);
    ChangeDueIn((static_cast<float>(frame) + 1.0f - timer) / 8.0f);
    return frame;
}

// Draws the value right-aligned at `right`, cut at `left`.
void DrawNumberRight(int left, int right, int y, int value, const GlyphStrip& strip) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    DrawTextInColumn(right - TextWidth(text), y, text, left, right, strip);
}

// The name box clear of the row being named: the name typed so far (with its caret until it is
// full, when the prompt says so) and the score it names.
void DrawNameBox() {
    const int top = NameBoxTop();
    NameBoxPicture->Draw(BackBuffer, NameBoxX, top, 0, 0, NameBoxWidth, NameBoxHeight);
    const bool full = NameLength == NameMaxLength;
    if (full) {
        NameBoxPicture->Draw(BackBuffer, NameBoxX + PromptInBox.Left, top + PromptInBox.Top, 0,
                             NameBoxHeight, PromptInBox.Right - PromptInBox.Left,
                             NameBoxHeight + PromptInBox.Bottom - PromptInBox.Top);
    }
    const std::string name(NameBuffer, static_cast<std::size_t>(NameLength + (full ? 0 : 1)));
    DrawText(NameBoxX + BoxTextX, top + BoxTextY, name.c_str(), ChalkGlyphs);
    if (InsertRow != NoRow) {
        const int right = NameBoxX + BoxScoreRight;
        DrawNumberRight(right - 120, right, top + BoxTextY, PlacedScore, ChalkGlyphs);
    }
}

// One table row, left edge at x: the rank, then the name and the score, each kept inside its
// column; a row no player has earned is drawn muted.
void DrawTableRow(int x, int y, int row, const HighScoreEntry& entry) {
    const GlyphStrip& strip = IsPlaceholderRow(entry) ? MutedGlyphs : ChalkGlyphs;
    const std::string rank = std::to_string(row + 1);
    DrawTextInColumn(x, y, rank.c_str(), x, x + NameLeft, strip);
    // A row no player has earned keeps the English placeholder; it is named in the player's words.
    const char* name = IsPlaceholderRow(entry) ? Translated("Empty") : entry.Name;
    DrawTextInColumn(x + NameLeft, y, name, x + NameLeft, x + ScoreLeft, strip);
    DrawNumberRight(x + ScoreLeft, x + ScoreRight, y, entry.Score, strip);
}

// The band behind the row being named or just named, while its table is on the page.
void DrawNamedRowBand(int page) {
    if ((NamedRowLit == 0 && NameEntryOpen == 0) || InsertRow == NoRow) return;
    int x = 0;
    if (InsertSlot == page - 6) x = 70;
    if (InsertSlot == page - 3) x = 355;
    if (x == 0) return;
    const int y = 183 + 25 * InsertRow;
    BackBuffer->FillRect(x + BandLeft, y + BandTop, x + BandRight, y + BandBottom, BandRed,
                         BandGreen, BandBlue);
}

// Rules every other line of the area in slate, so a button reads as out of use.
void DrawLocked(const Area& area) {
    for (int y = area.Top; y < area.Bottom; y += 2) {
        BackBuffer->FillRect(area.Left, y, area.Right, y + 1, SlateRed, SlateGreen, SlateBlue);
    }
}

}  // namespace

bool NameBoxShown() { return NameEntryOpen != 0 && ScreenState == HighScores; }

void ConfirmName() {
    NewGameAfterTable = NewGameAfterName != 0;
    StoreOpenName();
    PlayPhase = 1;
    GameWon = 0;
    SaveGame();
}

bool LoadHighScoresPictures() {
    HighScoresPicture = LoadPicture("HighScores.jpg", 0);
    NameBoxPicture = LoadPicture("WindowHS.JPG", 1);
    return true;
}

void FreeHighScoresPictures() {
    FreePicture(HighScoresPicture);
    FreePicture(NameBoxPicture);
}

void DrawHighScores() {
    if (ScreenState != HighScores) return;
    DrawBackground(HighScoresPicture);
    int p = HighScorePage;
    ActiveOptionPicture->Draw(BackBuffer, 507, 114, 0, 35 * p + 47, 84, 35 * p + 81);
    ActiveOptionPicture->Draw(BackBuffer, 221, 114, 85, 35 * p + 47, 169, 35 * p + 81);
    DrawNamedRowBand(p);
    for (int row = 0; row < HighScoreRows; ++row) {
        int y = 183 + 25 * row;
        DrawTableRow(70, y, row, HighScoreTable[row][p - 6]);
        DrawTableRow(355, y, row, HighScoreTable[row][p - 3]);
    }
    if (NameEntryOpen) {
        for (const Area& area : {BackSpot, PreviousSpot, NextSpot}) DrawLocked(area);
        DrawNameBox();
    }
}

void HoverHighScores(int x, int y, float dt) {
    if (ScreenState != HighScores) return;
    if (NameEntryOpen && OkSpot().Contains(x, y)) {
        ActiveOptionPicture->Draw(BackBuffer, NameBoxX + OkLitX, NameBoxTop() + OkLitY, 182, 194,
                                  231, 231);
    }
    if (ButtonsLocked()) return;
    if (BackSpot.Contains(x, y)) {
        PlayHoverSound();
        ActiveOptionPicture->Draw(BackBuffer, 278, 423, 0, 221, 83, 257);
    } else if (PreviousSpot.Contains(x, y)) {
        int k = ArrowFrame(PreviousArrowTimer, dt);
        PlayHoverSound();
        MenuTextPicture->Draw(BackBuffer, 8, 417, 179, 53 * k, 286, 53 * k + 53);
    } else if (NextSpot.Contains(x, y)) {
        int k = ArrowFrame(NextArrowTimer, dt);
        PlayHoverSound();
        MenuTextPicture->Draw(BackBuffer, 522, 418, 286, 53 * k + 1, 393, 53 * k + 53);
    } else {
        HoverLatch = 0;
    }
}

bool ClickHighScores(int x, int y) {
    if (ScreenState != HighScores) return false;
    if (NameEntryOpen && OkSpot().Contains(x, y)) {
        ConfirmName();
        return false;
    }
    if (ButtonsLocked()) return false;
    if (BackSpot.Contains(x, y)) {
        NamedRowLit = 0;
        if (NewGameAfterTable) {
            NewGameAfterTable = false;
            StartNewGame();
            return true;
        }
        MixerIdle = 1;
        PlaySoundEffect(Effect::Click);
        PlayPhase = 1;
        ShatterRequested = 1;
        ScorePlaced = 0;
        ScreenState = MainMenu;
        MenuHighlight = 6;
        MenuPicture = 5;
        return true;
    }
    if (PreviousSpot.Contains(x, y)) {
        HighScorePage = HighScorePage - 1 < 6 ? 8 : HighScorePage - 1;
        PlaySoundEffect(Effect::Click);
        return true;
    }
    if (NextSpot.Contains(x, y)) {
        HighScorePage = HighScorePage + 1 > 8 ? 6 : HighScorePage + 1;
        PlaySoundEffect(Effect::Click);
        return true;
    }
    return false;
}

void HighScoresFocus(FocusList& list) {
    if (NameBoxShown()) {
        list.Add(OkSpot());
        return;
    }
    list.Add(PreviousSpot);
    list.AddFirst(BackSpot, FocusRole::Back);
    list.Add(NextSpot);
}

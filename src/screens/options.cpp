// The options screen: display, cursor and EasyFood switches, the language, the two volume knobs,
// how to play.
#include "screens/options.h"

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/board.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "screens/focus.h"
#include "screens/how_to_play.h"
#include "screens/main_menu.h"
#include "screens/new_game.h"
#include "shared/language.h"
#include "shared/state.h"

bool (*SwitchDisplay)(bool fullScreen) = nullptr;
unsigned char MusicKnobDragged = 0;
unsigned char SoundKnobDragged = 0;
int MusicGrabOffset = 0;
int SoundGrabOffset = 0;

Sprite* OptionsPanel = nullptr;

namespace {

// An on/off option row: its label's highlight, the highlight's top-left in the sheet, where
// its check mark goes, and its hot spot, which covers the highlight and the mark's check box.
struct OptionRow {
    Area Lit;
    int SourceLeft, SourceTop;
    int MarkX, MarkY;
    Area Spot;
};
constexpr OptionRow Row(Area lit, int sourceLeft, int sourceTop, int markX, int markY) {
    return {lit, sourceLeft, sourceTop, markX, markY, lit.Joined(MarkControl(markX, markY))};
}
constexpr OptionRow Rows[3] = {
    Row({245, 82, 401, 109}, 0, 0, 240, 83),
    Row({266, 122, 378, 147}, 0, 27, 240, 121),
    Row({249, 159, 395, 194}, 0, 52, 240, 160),
};
enum { FullScreenRow, GameCursorRow, EasyFoodRow, NoRow = 3 };

// The language pill: a click on its left arrow goes back a language, anywhere else on it goes on
// to the next; its lit look lies in the sheet at (0, LanguageLitTop). The language's own name is
// written centred on it, its glyphs' top at LanguageNameTop.
constexpr Area LanguageSpot{244, 224, 400, 244};
constexpr Area LanguageBackSpot{244, 224, 266, 244};
constexpr Area LanguageLit{242, 222, 402, 246};
constexpr int LanguageLitTop = 361;
constexpr int LanguageNameTop = 226;

constexpr Area BackSpot{196, 403, 266, 431};
constexpr Area HelpSpot{385, 405, 446, 442};

// The knobs' grab areas for a knob at x.
constexpr Area MusicGrab(int x) { return {x, 263, x + 28, 294}; }
constexpr Area SoundGrab(int x) { return {x, 338, x + 28, 369}; }

// A knob position limited to its track: 227 or less gives 227, above 390 gives
// 391.
int ClampKnob(int x) {
    if (x <= SliderLeft) return SliderLeft;
    if (x > SliderRight - 1) return SliderRight;
    return x;
}

int RowAt(int x, int y) {
    for (int i = 0; i < NoRow; ++i) {
        if (Rows[i].Spot.Contains(x, y)) return i;
    }
    return NoRow;
}

// Whether the check mark of a row is shown.
bool RowChecked(int row) {
    switch (row) {
        case FullScreenRow:
            return FullScreen == 1;
        case GameCursorRow:
            return SystemCursor == 0;
        default:
            return EasyFood == 1;
    }
}

void DrawHighlight(const Area& lit, int sourceLeft, int sourceTop) {
    ActiveOptionPicture->Draw(BackBuffer, lit.Left, lit.Top, sourceLeft, sourceTop,
                              sourceLeft + lit.Right - lit.Left, sourceTop + lit.Bottom - lit.Top);
}

// The language pill, lit while the mouse is on it, with the name of the language spoken now.
void DrawLanguagePill(bool lit) {
    if (lit) DrawHighlight(LanguageLit, 0, LanguageLitTop);
    const char* name = Languages[CurrentLanguage].OwnName;
    DrawText((LanguageSpot.Left + LanguageSpot.Right - TextWidth(name)) / 2, LanguageNameTop, name);
}

// A click on the language pill: the language before or after the one spoken now, round the list.
void TurnLanguage(int x, int y) {
    const int step = LanguageBackSpot.Contains(x, y) ? LanguageCount - 1 : 1;
    PickLanguage((CurrentLanguage + step) % LanguageCount);
}

void DragKnobs(int x) {
    if (MusicKnobDragged) {
        MusicSlider = ClampKnob(x - MusicGrabOffset);
    } else if (SoundKnobDragged) {
        SoundSlider = ClampKnob(x - SoundGrabOffset);
    }
}

void GrabKnob(int x, int y) {
    if (MusicGrab(MusicSlider).Contains(x, y)) {
        MusicKnobDragged = 1;
        MusicGrabOffset = x - MusicSlider;
    } else if (SoundGrab(SoundSlider).Contains(x, y)) {
        SoundKnobDragged = 1;
        SoundGrabOffset = x - SoundSlider;
    }
}

void ToggleRow(int row) {
    switch (row) {
        case FullScreenRow:
            SwitchDisplay(!FullScreen);
            break;
        case GameCursorRow:
            SystemCursor = !SystemCursor;
            break;
        default:
            EasyFood = !EasyFood;
            break;
    }
}

}  // namespace

void ClampSliders() {
    MusicSlider = ClampKnob(MusicSlider);
    SoundSlider = ClampKnob(SoundSlider);
}

float MusicGain() {
    float gain = static_cast<float>(MusicSlider - 229) * (1.0f / 164.0f);
    if (gain < 0.0f) return 0.0f;
    if (gain > 1.0f) return 1.0f;
    return gain;
}

void EndKnobDrags() {
    MusicKnobDragged = 0;
    SoundKnobDragged = 0;
}

bool LoadOptionsPictures() {
    OptionsPanel = LoadPicture("Options.jpg", 1);
    return true;
}

void FreeOptionsPictures() { FreePicture(OptionsPanel); }

void DrawOptions() {
    if (ScreenState != Options) return;
    DrawMenuBackground();
    OptionsPanel->Draw(BackBuffer, 161, 50, 0, 0, 323, 403);
}

void HoverOptions(int x, int y) {
    if (ScreenState != Options) return;
    DragKnobs(x);
    bool onButton = true;
    if (BackSpot.Contains(x, y)) {
        ActiveOptionPicture->Draw(BackBuffer, 175, 403, 0, 87, 112, 118);
    } else if (HelpSpot.Contains(x, y)) {
        ActiveOptionPicture->Draw(BackBuffer, 363, 405, 112, 87, 218, 125);
    } else if (!LanguageSpot.Contains(x, y)) {
        onButton = false;
    }
    DrawLanguagePill(LanguageSpot.Contains(x, y));
    int row = RowAt(x, y);
    if (row != NoRow) DrawHighlight(Rows[row].Lit, Rows[row].SourceLeft, Rows[row].SourceTop);
    if (onButton || row != NoRow) {
        PlayHoverSound();
    } else {
        HoverLatch = 0;
    }
    for (int i = 0; i < NoRow; ++i) {
        if (RowChecked(i))
            CursorPicture->Draw(BackBuffer, Rows[i].MarkX, Rows[i].MarkY, 30, 0, 49, 25);
    }
    ClampSliders();
    SetMusicVolume(MusicGain());
    MenuTextPicture->Draw(BackBuffer, MusicSlider, 269, 0, 312, 28, 333);
    MenuTextPicture->Draw(BackBuffer, SoundSlider + 1, 345, 0, 312, 28, 333);
}

bool ClickOptions(int x, int y) {
    if (ScreenState != Options) return false;
    GrabKnob(x, y);
    if (BackSpot.Contains(x, y)) {
        ScreenState = MainMenu;
        MenuHighlight = 6;
        MenuPicture = 5;
        PlaySoundEffect(Effect::Click);
        return true;
    }
    if (HelpSpot.Contains(x, y)) {
        OpenHowToPlay(HelpSpot);
        return true;
    }
    if (LanguageSpot.Contains(x, y)) {
        PlaySoundEffect(Effect::Click);
        TurnLanguage(x, y);
        return true;
    }
    int row = RowAt(x, y);
    if (row == NoRow) return false;
    PlaySoundEffect(Effect::Click);
    ToggleRow(row);
    return true;
}

void DrawGameCursor(int x, int y, bool cursorOutside) {
    if (SystemCursor != 0 || cursorOutside) return;
    CursorPicture->DrawClipped(BackBuffer, x, y, 0, 0, 30, 30);
}

void OptionsFocus(FocusList& list) {
    // The ring goes around a row's check box: around the whole row it would cut the heading.
    for (const OptionRow& row : Rows) list.AddRingedAt(row.Spot, MarkControl(row.MarkX, row.MarkY));
    list.Add(LanguageSpot);
    list.Add(MusicGrab(MusicSlider), FocusRole::MusicKnob);
    list.Add(SoundGrab(SoundSlider), FocusRole::SoundKnob);
    list.Add(BackSpot, FocusRole::Back);
    list.Add(HelpSpot);
}

void StepKnob(int& knob, int steps) {
    constexpr int Track = SliderRight - SliderLeft;
    // The nearest twentieth to where the knob stands, then whole twentieths from there.
    int twentieth = ((knob - SliderLeft) * KnobSteps + Track / 2) / Track + steps;
    if (twentieth < 0) twentieth = 0;
    if (twentieth > KnobSteps) twentieth = KnobSteps;
    knob = SliderLeft + (twentieth * Track + KnobSteps / 2) / KnobSteps;
    SetMusicVolume(MusicGain());
}

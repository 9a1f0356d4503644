// The logo with its reveal, the title with its blinking button, and the won panel.
#pragma once

struct FocusList;

// ---- Logo ----
// Time the logo has been shown, in tenths of a second; it gives way to the title at 30.
extern float LogoTimer;
// Columns and rows of black squares that cover the logo at first.
constexpr int RevealColumns = 16;
constexpr int RevealRows = 12;
// One black square of the reveal: how far it has shrunk from each side, and how fast.
struct RevealTile {
    float Size;   // pixels shrunk from each side, 0..20; 20 leaves nothing
    float Speed;  // pixels per second, 30..79
};
// The reveal squares, column by column (index column * 12 + row).
extern RevealTile RevealGrid[RevealColumns * RevealRows];
// Half-width of the growing area in columns, up to 8; -1 before the start.
extern int RevealColumnRing;
// Half-height of the growing area in rows, up to 6; -1 before the start.
extern int RevealRowRing;

// Called once at start-up: every reveal square full size with a random speed, rings at -1.
void ResetReveal();

// Called once by start-up after ResetReveal: the logo starts a fifth of a second in, where its
// reveal first uncovers something, so its first frame is not all black; from there on the reveal
// and the logo's end keep their course.
void SkipDarkLeadIn();

// Called by start-up behind the logo: true once every reveal square has shrunk away, and the logo
// stands still until it ends.
bool RevealDone();

// Called every frame by the frame driver with the frame time in seconds; only on the logo.
void DrawLogo(float dt);
// Called every frame by the frame driver; only on the title.
void DrawTitle();
// Called every frame by the frame driver with the mouse position and the frame time; only on
// the title: the play button, lit under the mouse and blinking elsewhere.
void HoverTitle(int x, int y, float dt);
// Called by the click dispatcher: a click anywhere on the title is the play button's (the title
// waits for nothing more); true when it was used.
bool ClickTitle(int x, int y);
// Called by the click dispatcher: a click on the logo ends its reveal; true when it was used.
bool ClickLogo(int x, int y);
// Called every frame by the frame driver with the frame time; only while GameWon is set.
void DrawWonPanel(float dt);
// Called every frame by the frame driver with the mouse position; only while GameWon is set.
void HoverWonPanel(int x, int y);
// Called by the click dispatcher; true when the won panel's button was clicked.
bool ClickWonPanel(int x, int y);

// Called by the focus step on the title: the play button.
void TitleFocus(FocusList& list);
// Called by the focus step while the won panel is up: its button.
void WonPanelFocus(FocusList& list);
// Called by the keys and by a click on the logo: the reveal ends now and the title follows.
void SkipLogo();

// The how-to-play card: three pages on playing the game, opened from the main menu and Options.
#pragma once

#include "game/board.h"

struct FocusList;
class Sprite;

// ---- Pictures ----
// "HowToPlay.bmp", keyed: the card's three pages one under another, then its lit buttons; its
// pixels only while the card shows.
extern Sprite* HowToPlayPicture;

// ---- The card ----
// Pages of the card.
constexpr int HowToPlayPages = 3;
// The page shown, 0..HowToPlayPages - 1; the card opens on the first.
extern int HowToPlayPage;

// Called by the display switch after the game pictures are loaded; always reports success.
bool LoadHowToPlayPictures();
// Called by the display switch and shutdown: releases the card's picture.
void FreeHowToPlayPictures();

// Called by the main menu's link and the Help button of Options with their own hot spot: the
// card opens on its first page; its Back returns to that screen, focus on that control.
void OpenHowToPlay(const Area& opener);

// Called every frame by the frame driver; draws the menu and the card, only on the card.
void DrawHowToPlay();
// Called every frame by the frame driver with the mouse position; lights the button under it.
void HoverHowToPlay(int x, int y);
// Called by the click dispatcher; returns true when the click was used by the card.
bool ClickHowToPlay(int x, int y);
// Called by the focus step on the card: Back, the previous and next page (focused first) and
// the help page.
void HowToPlayFocus(FocusList& list);

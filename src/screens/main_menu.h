// The main menu: five buttons, the picture beside them, the how-to-play link; shared drawing.
#pragma once

class Sprite;
struct FocusList;

// ---- Pictures ----
// "Menu.jpg", the menu background, 640 x 480; null until loaded.
extern Sprite* MenuBackgroundPicture;
// "MenuImage.jpg", the five button pictures shown beside the buttons; null until loaded.
extern Sprite* MenuImagePicture;

// Called by the display switch after the game pictures are loaded; always reports success.
bool LoadMainMenuPictures();
// Called by the display switch and shutdown: releases the three menu pictures.
void FreeMainMenuPictures();
// Called by the screens' picture loaders: a new Sprite holding the named picture of "bmp".
Sprite* LoadPicture(const char* name, unsigned char keyFlag);
// Called by the screens' picture release steps: releases one picture and forgets it.
void FreePicture(Sprite*& picture);

// Called by the main menu, options and new-game draw steps: background, picture and buttons.
void DrawMenuBackground();

// Called every frame by the frame driver; draws the menu, only on the main menu.
void DrawMainMenu();
// Called every frame by the frame driver with the mouse position; lights the button under it.
void HoverMainMenu(int x, int y);
// Called by the click dispatcher; returns true when the click was used by the main menu.
bool ClickMainMenu(int x, int y);
// Called by the focus step on the main menu: the buttons from top to bottom (Continue only while
// a game can go on, focused first then, else New game) and the how-to-play link.
void MainMenuFocus(FocusList& list);

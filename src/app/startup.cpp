// Start-up, display switching and shutdown, and the game Sprites they load and free.
#include "app/startup.h"

Sprite* BackgroundPicture = nullptr;
Sprite* FiguresPicture = nullptr;
Sprite* FontPicture = nullptr;
Sprite* NumberPicture = nullptr;
Sprite* GameOverPicture = nullptr;
Sprite* EasyFoodPicture = nullptr;
Sprite* CursorPicture = nullptr;
Sprite* GameGoPicture = nullptr;
Sprite* ShatterSnapshot = nullptr;
Sprite* MenDownPicture = nullptr;
Sprite* LogoPicture = nullptr;
Sprite* PanPicture = nullptr;
Sprite* LevelPicture = nullptr;
Sprite* MixerPicture = nullptr;

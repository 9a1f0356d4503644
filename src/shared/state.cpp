// The state every room of the game shares.
#include "shared/state.h"

int32_t ScreenState = Logo;
int32_t HoverLatch = 0;
uint8_t NoGameToContinue = 1;
int32_t MenuHighlight = 6;
int32_t MenuPicture = 5;
uint8_t QuitRequested = 0;

unsigned char SystemCursor = 1;
unsigned char EasyFood = 1;
int MusicSlider = SliderRight;
int SoundSlider = SliderRight;

uint8_t ChosenMode = 0;  // Untimed
int32_t ChosenKinds = 6;

float WonPanelY = WonPanelStart;
unsigned char WonPanelReady = 0;

void ResetWonPanel() {
    WonPanelY = WonPanelStart;
    WonPanelReady = 0;
}

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

Sprite* ActiveOptionPicture = nullptr;
Sprite* MenuTextPicture = nullptr;

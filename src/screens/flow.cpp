// The screen flow: which screen is shown, and the state the screens share.
#include "screens/flow.h"

#include "audio/sound_effects.h"

int32_t ScreenState = Logo;
int32_t HoverLatch = 0;
uint8_t NoGameToContinue = 1;
int32_t MenuHighlight = 6;
int32_t MenuPicture = 5;

void PlayHoverSound() {
    if (HoverLatch != 0) return;
    HoverLatch = 1;
    PlaySoundEffect(Effect::Hover);
}

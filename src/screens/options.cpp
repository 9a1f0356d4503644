// The options screen: display, cursor and EasyFood switches, the two volume knobs, help page.
#include "screens/options.h"

unsigned char SystemCursor = 1;
unsigned char EasyFood = 1;
int MusicSlider = SliderRight;
int SoundSlider = SliderRight;
unsigned char MusicKnobDragged = 0;
unsigned char SoundKnobDragged = 0;
int MusicGrabOffset = 0;
int SoundGrabOffset = 0;

namespace {

// A knob position limited to its track: 227 or less gives 227, above 390 gives 391.
int ClampKnob(int x) {
  if (x <= SliderLeft) return SliderLeft;
  if (x > SliderRight - 1) return SliderRight;
  return x;
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

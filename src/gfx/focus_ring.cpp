// The keyboard's marks: the focus ring around a control and the cursor on a board square.
#include "gfx/focus_ring.h"

#include <algorithm>

#include "gfx/sprite.h"

namespace {

// Pixels of each line: walnut, butter, walnut from the outside in.
constexpr int OuterDark = 1;
constexpr int Light = 2;
constexpr int InnerDark = 1;
constexpr int RingWidth = OuterDark + Light + InnerDark;
// Pixels between the control's edge and the ring.
constexpr int RingGap = 2;
// Length of a bracket's arm along each side of a square.
constexpr int BracketArm = 14;

struct Box {
    int Left, Top, Right, Bottom;
};

Box Inset(Box box, int by) { return {box.Left + by, box.Top + by, box.Right - by, box.Bottom - by}; }

// One rectangle kept on the picture, in one colour.
void Fill(Sprite* target, Box box, bool light) {
    box.Left = std::max(box.Left, 0);
    box.Top = std::max(box.Top, 0);
    box.Right = std::min(box.Right, 640);
    box.Bottom = std::min(box.Bottom, 480);
    if (box.Left >= box.Right || box.Top >= box.Bottom) return;
    if (light) {
        target->FillRect(box.Left, box.Top, box.Right, box.Bottom, RingLightRed, RingLightGreen,
                         RingLightBlue);
    } else {
        target->FillRect(box.Left, box.Top, box.Right, box.Bottom, RingDarkRed, RingDarkGreen,
                         RingDarkBlue);
    }
}

// A frame `width` pixels thick just inside the box, its corners cut by `round` pixels.
void Frame(Sprite* target, Box box, int width, int round, bool light) {
    Fill(target, {box.Left + round, box.Top, box.Right - round, box.Top + width}, light);
    Fill(target, {box.Left + round, box.Bottom - width, box.Right - round, box.Bottom}, light);
    Fill(target, {box.Left, box.Top + round, box.Left + width, box.Bottom - round}, light);
    Fill(target, {box.Right - width, box.Top + round, box.Right, box.Bottom - round}, light);
}

// The three lines of a ring or bracket set inside the box; `draw` draws one line.
template <typename DrawLine>
void ThreeLines(Box box, DrawLine draw) {
    draw(box, OuterDark, RingWidth, false);
    draw(Inset(box, OuterDark), Light, RingWidth - OuterDark, true);
    draw(Inset(box, OuterDark + Light), InnerDark, RingWidth - OuterDark - Light, false);
}

}  // namespace

void DrawFocusRing(Sprite* target, int left, int top, int right, int bottom) {
    const Box box = Inset({left, top, right, bottom}, -(RingGap + RingWidth));
    ThreeLines(box, [target](Box line, int width, int round, bool light) {
        Frame(target, line, width, round, light);
    });
}

void DrawSquareCursor(Sprite* target, int left, int top, int right, int bottom) {
    ThreeLines({left, top, right, bottom}, [target](Box b, int width, int, bool light) {
        const int arm = BracketArm;
        // Each corner: one arm along the top or bottom edge, one down or up the side.
        Fill(target, {b.Left, b.Top, b.Left + arm, b.Top + width}, light);
        Fill(target, {b.Left, b.Top, b.Left + width, b.Top + arm}, light);
        Fill(target, {b.Right - arm, b.Top, b.Right, b.Top + width}, light);
        Fill(target, {b.Right - width, b.Top, b.Right, b.Top + arm}, light);
        Fill(target, {b.Left, b.Bottom - width, b.Left + arm, b.Bottom}, light);
        Fill(target, {b.Left, b.Bottom - arm, b.Left + width, b.Bottom}, light);
        Fill(target, {b.Right - arm, b.Bottom - width, b.Right, b.Bottom}, light);
        Fill(target, {b.Right - width, b.Bottom - arm, b.Right, b.Bottom}, light);
    });
}

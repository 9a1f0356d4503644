// The keyboard's marks: the focus ring around a control and the cursor on a board square.
#include "gfx/focus_ring.h"

#include <algorithm>
#include <cmath>

#include "gfx/sprite.h"

namespace {

// Pixels of each line: walnut, butter, walnut from the outside in.
constexpr int OuterDark = 1;
constexpr int Light = 3;
constexpr int InnerDark = 1;
constexpr int RingWidth = OuterDark + Light + InnerDark;
// Radius of the ring's outer corners in pixels.
constexpr int RingRadius = 7;
// Pixels between the control's edge and the ring.
constexpr int RingGap = 2;
// Length of a bracket's arm along each side of a square.
constexpr int BracketArm = 16;

struct Box {
    int Left, Top, Right, Bottom;
};

Box Inset(Box box, int by) {
    return {box.Left + by, box.Top + by, box.Right - by, box.Bottom - by};
}

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

// How far a rounded box of corner radius r is cut in from its side on the row `edgeRow` rows
// from its top or bottom edge.
int CornerCut(int r, int edgeRow) {
    if (edgeRow >= r) return 0;
    const double up = r - edgeRow - 0.5;
    return r - static_cast<int>(std::lround(std::sqrt(static_cast<double>(r) * r - up * up)));
}

// What one row of a band covers: the spans [OuterLeft, InnerLeft) and [InnerRight, OuterRight)
// (one span when InnerLeft reaches InnerRight).
struct Row {
    int OuterLeft, InnerLeft, InnerRight, OuterRight;
    bool operator==(const Row& o) const {
        return OuterLeft == o.OuterLeft && InnerLeft == o.InnerLeft && InnerRight == o.InnerRight &&
               OuterRight == o.OuterRight;
    }
};

Row BandRow(Box outer, int radius, int width, int y) {
    const Box inner = Inset(outer, width);
    const int innerRadius = std::max(radius - width, 0);
    const int cut = CornerCut(radius, std::min(y - outer.Top, outer.Bottom - 1 - y));
    Row row{outer.Left + cut, outer.Right - cut, outer.Right - cut, outer.Right - cut};
    if (y >= inner.Top && y < inner.Bottom) {
        const int innerCut = CornerCut(innerRadius, std::min(y - inner.Top, inner.Bottom - 1 - y));
        row.InnerLeft = inner.Left + innerCut;
        row.InnerRight = inner.Right - innerCut;
    }
    return row;
}

void FillRows(Sprite* target, const Row& row, int top, int bottom, bool light) {
    Fill(target, {row.OuterLeft, top, row.InnerLeft, bottom}, light);
    if (row.InnerRight < row.OuterRight) {
        Fill(target, {row.InnerRight, top, row.OuterRight, bottom}, light);
    }
}

// A rounded band `width` pixels thick just inside the box; rows alike are filled together.
void Band(Sprite* target, Box outer, int radius, int width, bool light) {
    int runTop = outer.Top;
    Row run = BandRow(outer, radius, width, runTop);
    for (int y = outer.Top + 1; y < outer.Bottom; ++y) {
        const Row row = BandRow(outer, radius, width, y);
        if (row == run) continue;
        FillRows(target, run, runTop, y, light);
        run = row;
        runTop = y;
    }
    FillRows(target, run, runTop, outer.Bottom, light);
}

// The eight arms of four corner brackets `width` pixels thick just inside the box.
void Brackets(Sprite* target, Box b, int width, int arm, bool light) {
    Fill(target, {b.Left, b.Top, b.Left + arm, b.Top + width}, light);
    Fill(target, {b.Left, b.Top, b.Left + width, b.Top + arm}, light);
    Fill(target, {b.Right - arm, b.Top, b.Right, b.Top + width}, light);
    Fill(target, {b.Right - width, b.Top, b.Right, b.Top + arm}, light);
    Fill(target, {b.Left, b.Bottom - width, b.Left + arm, b.Bottom}, light);
    Fill(target, {b.Left, b.Bottom - arm, b.Left + width, b.Bottom}, light);
    Fill(target, {b.Right - arm, b.Bottom - width, b.Right, b.Bottom}, light);
    Fill(target, {b.Right - width, b.Bottom - arm, b.Right, b.Bottom}, light);
}

}  // namespace

void DrawFocusRing(Sprite* target, int left, int top, int right, int bottom) {
    const Box box = Inset({left, top, right, bottom}, -(RingGap + RingWidth));
    Band(target, box, RingRadius, OuterDark, false);
    Band(target, Inset(box, OuterDark), RingRadius - OuterDark, Light, true);
    Band(target, Inset(box, OuterDark + Light), RingRadius - OuterDark - Light, InnerDark, false);
}

void DrawSquareCursor(Sprite* target, int left, int top, int right, int bottom) {
    const Box box{left, top, right, bottom};
    Brackets(target, box, RingWidth, BracketArm, false);
    Brackets(target, Inset(box, OuterDark), Light, BracketArm - 2 * OuterDark, true);
}

// The back buffer's cover: the parts of the frame a later step draws over whole.
#include "gfx/cover.h"

#include <algorithm>

int CoverColumnWidth = 0;
std::vector<std::vector<RowSpan>> CoveredSpans;

namespace {

// Sorts the spans from the top and joins overlapping or touching ones, in place; empty ones go.
void Join(std::vector<RowSpan>& spans) {
    std::sort(spans.begin(), spans.end(),
              [](const RowSpan& a, const RowSpan& b) { return a.top < b.top; });
    size_t joined = 0;
    for (const RowSpan& span : spans) {
        if (span.top >= span.bottom) continue;
        if (joined > 0 && span.top <= spans[joined - 1].bottom)
            spans[joined - 1].bottom = std::max(spans[joined - 1].bottom, span.bottom);
        else
            spans[joined++] = span;
    }
    spans.resize(joined);
}

// The covered span of a column holding row `row`, or an empty one at that row.
RowSpan SpanHolding(const std::vector<RowSpan>& spans, int row) {
    for (const RowSpan& span : spans)
        if (span.top <= row && row < span.bottom) return span;
    return RowSpan{row, row};
}

}  // namespace

void CoverBackBuffer(int columnWidth, std::vector<std::vector<RowSpan>> columns) {
    CoverColumnWidth = columns.empty() ? 0 : columnWidth;
    for (std::vector<RowSpan>& spans : columns) Join(spans);
    CoveredSpans = std::move(columns);
}

CoveredEdges CoveredEdgesOf(const platform::Rect& area) {
    if (CoverColumnWidth <= 0 || area.left < 0 || area.top < 0 || area.right <= area.left ||
        area.bottom <= area.top)
        return CoveredEdges{0, 0};
    const size_t first = static_cast<size_t>(area.left / CoverColumnWidth);
    const size_t last = static_cast<size_t>((area.right - 1) / CoverColumnWidth);
    if (last >= CoveredSpans.size()) return CoveredEdges{0, 0};
    // Covered in every column: from the top row down to the nearest end of the spans holding it,
    // and from the bottom row up to the lowest start of the spans holding it.
    int coveredTo = area.bottom;
    int coveredFrom = area.top;
    bool bottomCovered = true;
    for (size_t column = first; column <= last; ++column) {
        coveredTo = std::min(coveredTo, SpanHolding(CoveredSpans[column], area.top).bottom);
        const RowSpan low = SpanHolding(CoveredSpans[column], area.bottom - 1);
        bottomCovered = bottomCovered && low.top < low.bottom;
        coveredFrom = std::max(coveredFrom, low.top);
    }
    const int height = area.bottom - area.top;
    const int top = coveredTo - area.top;
    if (top >= height) return CoveredEdges{height, 0};
    return CoveredEdges{top, bottomCovered ? area.bottom - coveredFrom : 0};
}

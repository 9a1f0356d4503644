// The back buffer's cover: the parts of the frame a later step draws over whole, so that what the
// screens would draw there, never to be seen, is left undrawn.
#pragma once

#include <vector>

#include "platform/row_span.h"
#include "platform/window.h"

// Rows top..bottom-1 of one column of the back buffer.
using RowSpan = platform::RowSpan;

// ---- Cover ----
// Pixels across each column of the cover, from x = 0; 0 while nothing is covered.
extern int CoverColumnWidth;
// For each column, its covered rows: spans apart from one another, from the top down.
extern std::vector<std::vector<RowSpan>> CoveredSpans;

// Called by a step that will draw over parts of the back buffer later in this frame, before the
// screens draw: column i (columnWidth pixels wide from x = columnWidth * i) is covered over the
// rows of its spans, which may overlap and come in any order. Called with no columns once that
// step draws, or when it will not.
void CoverBackBuffer(int columnWidth, std::vector<std::vector<RowSpan>> columns);

// How many rows of an area are covered in every column it spans, from its top and from its bottom.
struct CoveredEdges {
    int top;
    int bottom;
};

// Called by the Sprites before drawing into the back buffer: the rows of `area` under the cover
// at its top and at its bottom; its whole height (at the top) when it is covered whole.
CoveredEdges CoveredEdgesOf(const platform::Rect& area);

// Play at rest: a saved game can always go on, and a new game inherits nothing of the last one.
#pragma once

// Called by the save file before every save. The player's swap, the hint and falling pieces run
// forward by the rules to their end, without drawing, on the tick counts their frames would have
// had, so they score what play would; a level-complete or new-board phase that has begun deals
// its next board at once; a board change lands at once; a game that has ended enters its score
// under the name last used and leaves no game to continue; an open name box stores its name. A
// bar filled on the way stays full: the resumed game completes the level (or wins) on screen.
// What is left is a settled, full board with a move, every piece at home and nothing selected,
// in the Playing phase.
void BringPlayToRest();

// Called by the automatic save during play: true while a game stands still on the play screen
// (a full board, nothing selected, sliding or falling, no board change, the Playing phase), when
// the globals already are what BringPlayToRest would leave, so they can be saved as they are.
bool PlayAtRest();

// Called by the new-game screen before it deals the first board: no swap, hint, fall, board
// change, banner, won panel, name box, pause or flying piece is left from the last game, and
// the board cursor is back on the top-left square.
void ResetPlay();

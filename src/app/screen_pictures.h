// The pictures only some screens draw keep their pixels only while one of those screens shows.
#pragma once

// Called behind the logo after every group of pictures is loaded, by the display switch and every
// frame by the frame driver before the screens draw: the pictures of the screens not shown give
// their pixels back, and those of the screen shown read their files again when they had given
// theirs back. False once an error box ended the program during such a read.
bool KeepShownScreenPictures();

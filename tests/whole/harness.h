// The whole game in-process for tests: baked data, dummy drivers, manual clock, injected input.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/messages.h"

// A presented frame: 640x480 pixels as 0x00RRGGBB, top row first.
struct Shot {
    std::vector<uint32_t> Pixels;
    // The pixel at (x, y); 0 when the shot is empty.
    uint32_t At(int x, int y) const;
    // How many pixels of the rectangle (left, top, right, bottom) differ from `other` by more
    // than `tolerance` in some channel.
    int DifferingPixels(const Shot& other, int left, int top, int right, int bottom,
                        int tolerance = 0) const;
    // How many pixels of the rectangle are not black.
    int LitPixels(int left, int top, int right, int bottom) const;
};

// One run of the game in its own folder of links to the baked data, so that every test has its
// own "game.sav". Only one may exist at a time: the game is a process of globals.
class WholeGame {
  public:
    // Makes the folder and enters it; the pictures named in `missingPictures` are left out.
    explicit WholeGame(const std::vector<std::string>& missingPictures = {});
    // Leaves the folder and removes it.
    ~WholeGame();
    WholeGame(const WholeGame&) = delete;
    WholeGame& operator=(const WholeGame&) = delete;

    // The program entry up to its message loop, on the manual clock; false when it ended early.
    bool Start();
    // Runs `frames` turns of the message loop, `dt` seconds apart; false once the program ended.
    bool Step(float dt = 0.02f, int frames = 1);
    // One turn of the message loop as the program runs it: the waiting messages, a frame, then
    // the wait for the next frame, which on the manual clock moves the clock on by what it would
    // have lasted. The seconds it moved (0 when only a message can end the wait, or one is
    // waiting); negative once the program ended.
    double LoopTurn();
    // Steps until `done` holds (true) or `seconds` of game time passed (false).
    bool RunUntil(const std::function<bool()>& done, float seconds, float dt = 0.02f);
    // True once the quit message arrived.
    bool Ended() const { return ended_; }

    // The pointer moves to (x, y) of the picture; one frame runs.
    void MoveMouse(int x, int y);
    // Moves there, presses and releases the left button, one frame after each.
    void Click(int x, int y);
    // A key press, then one frame.
    void Press(platform::TestKey key);
    // Typed text, then one frame.
    void Type(const std::string& text);

    // Presses the left button at (x, y), moves 12 pixels toward (toX, toY) and releases, one
    // frame after each.
    void Drag(int x, int y, int toX, int toY);
    // A close request from the desktop (the window's close button), then one frame.
    void Close();

    // Steps until a change of screens has ended, then one frame more, which shows the new screen
    // whole: keys act on it from then on.
    void WaitForScreen();

    // From the logo through the title to the main menu.
    void ToMainMenu();
    // From the main menu through the new-game screen into a game of this mode (0 Untimed,
    // 1 Timed) and number of kinds, waiting until the board has dropped in. A game in progress
    // is left (its name, when its score takes a row, confirmed as it stands).
    void NewGameFromMenu(int mode, int kinds);
    // From the logo into a new game: ToMainMenu, then NewGameFromMenu.
    void PlayNewGame(int mode, int kinds);

    // The last presented frame.
    Shot Picture() const;
    // Saves the last presented frame as "<name>.png" in the folder named by PELMARO_SHOTS, when
    // that variable is set.
    void SaveShot(const std::string& name) const;

    // The folder the game runs in.
    const std::string& Folder() const { return folder_; }

  private:
    std::string folder_;
    std::string previousFolder_;
    bool ended_ = false;
};

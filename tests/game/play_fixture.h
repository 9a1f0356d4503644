// A headless play screen for tests: the dummy display, the baked pictures and pixel probes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/shots.h"
#include "gfx/sprite.h"

// Brings up the window and display in the baked data folder, loads every picture the play
// screen draws into the game Sprite pointers, and starts from a quiet board.
class PlayFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The back buffer's packed pixel at (x, y).
    uint32_t Pixel(int x, int y) const;
    // The picture's packed pixel at (x, y) of its own surface.
    static uint32_t PicturePixel(const Sprite* picture, int x, int y);
    // The whole back buffer, row by row.
    std::vector<uint32_t> Frame() const;
    // Share 0..1 of the picture's opaque source pixels in `source` that the back buffer shows
    // unchanged with the source's top-left corner at (x, y); rows or columns off the screen
    // count as not shown.
    double Shows(const Sprite* picture, const Rect& source, int x, int y) const;
    // Fills the back buffer with one colour, so that whatever a step draws stands out.
    void Clear(uint32_t red, uint32_t green, uint32_t blue);
    // Saves the back buffer as "<name>.png" when PELMARO_SHOTS names a folder.
    void Shot(const std::string& name) const;

    // Set by a derived fixture's constructor: the full-screen display with 16-bit pixels.
    bool fullScreenDisplay_ = false;

  private:
    std::filesystem::path home_;
};

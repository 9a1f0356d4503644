// The whole game in-process for tests: baked data, dummy drivers, manual clock, injected input.
#include "harness.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "../support/shots.h"
#include "app/desktop.h"
#include "app/entry.h"
#include "app/frame_driver.h"
#include "game/board_change.h"
#include "game/shatter.h"
#include "gfx/change_due.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/frame_pacing.h"
#include "screens/high_scores.h"
#include "screens/new_game.h"
#include "shared/state.h"

namespace fs = std::filesystem;

namespace {

constexpr int Width = 640;
constexpr int Height = 480;

int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// Links every entry of the baked folder, except `bmp` when pictures are to be left out: then a
// folder of links to every other picture.
void LinkGameData(const fs::path& folder, const std::vector<std::string>& missing) {
    const fs::path game = PELMARO_GAME_DIR;
    for (const char* name : {"sound", "music", "locale", "ReadMe.htm"})
        fs::create_directory_symlink(game / name, folder / name);
    if (missing.empty()) {
        fs::create_directory_symlink(game / "bmp", folder / "bmp");
        return;
    }
    fs::create_directory(folder / "bmp");
    for (const fs::directory_entry& entry : fs::directory_iterator(game / "bmp")) {
        const std::string name = entry.path().filename().string();
        if (std::find(missing.begin(), missing.end(), name) != missing.end()) continue;
        fs::create_symlink(entry.path(), folder / "bmp" / name);
    }
}

}  // namespace

uint32_t Shot::At(int x, int y) const {
    if (Pixels.size() != static_cast<size_t>(Width * Height)) return 0;
    return Pixels[static_cast<size_t>(y * Width + x)];
}

int Shot::DifferingPixels(const Shot& other, int left, int top, int right, int bottom,
                          int tolerance) const {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const uint32_t a = At(x, y);
            const uint32_t b = other.At(x, y);
            for (int shift : {0, 8, 16}) {
                if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) {
                    ++count;
                    break;
                }
            }
        }
    }
    return count;
}

int Shot::LitPixels(int left, int top, int right, int bottom) const {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) count += At(x, y) != 0 ? 1 : 0;
    return count;
}

WholeGame::WholeGame(const std::vector<std::string>& missingPictures) {
    char pattern[] = "/tmp/pelmaro-whole-XXXXXX";
    folder_ = mkdtemp(pattern);
    LinkGameData(folder_, missingPictures);
    previousFolder_ = fs::current_path().string();
    fs::current_path(folder_);
}

WholeGame::~WholeGame() {
    fs::current_path(previousFolder_);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

bool WholeGame::Start() {
    platform::UseManualClock(5000);
    if (!StartProgram()) {
        int code = 0;
        ended_ = !HandleWaitingMessages(code);
        return false;
    }
    platform::InjectMousePosition(-50, -50);
    return Step();
}

bool WholeGame::Step(float dt, int frames) {
    for (int i = 0; i < frames && !ended_; ++i) {
        platform::AdvanceManualClock(dt);
        int code = 0;
        if (!HandleWaitingMessages(code)) {
            ended_ = true;
            break;
        }
        if (AppActive != 0 && AppReady != 0) RunFrame();
    }
    return !ended_;
}

double WholeGame::LoopTurn() {
    const int64_t before = platform::PerformanceCounter();
    int code = 0;
    if (ended_ || !HandleWaitingMessages(code)) {
        ended_ = true;
        return -1.0;
    }
    if (AppActive != 0 && AppReady != 0) RunFrame();
    platform::WaitForNextFrame(ChangeDue);
    return static_cast<double>(platform::PerformanceCounter() - before) / 1e6;
}

bool WholeGame::RunUntil(const std::function<bool()>& done, float seconds, float dt) {
    for (float passed = 0.0f; passed <= seconds; passed += dt) {
        if (done()) return true;
        if (!Step(dt)) return done();
    }
    return done();
}

void WholeGame::MoveMouse(int x, int y) {
    platform::InjectMousePosition(x, y);
    Step();
}

void WholeGame::Click(int x, int y) {
    platform::InjectMousePosition(x, y);
    platform::InjectMouseButton(true);
    Step();
    platform::InjectMouseButton(false);
    Step();
}

void WholeGame::Press(platform::TestKey key) {
    platform::InjectKey(key);
    Step();
}

void WholeGame::Type(const std::string& text) {
    platform::InjectText(text);
    Step();
}

void WholeGame::Drag(int x, int y, int toX, int toY) {
    platform::InjectMousePosition(x, y);
    platform::InjectMouseButton(true);
    Step();
    const int dx = toX > x ? 12 : toX < x ? -12 : 0;
    const int dy = toY > y ? 12 : toY < y ? -12 : 0;
    platform::InjectMousePosition(x + dx, y + dy);
    Step();
    platform::InjectMouseButton(false);
    Step();
}

void WholeGame::Close() {
    platform::InjectWindowEvent(platform::TestWindowEvent::Close);
    Step();
}

void WholeGame::WaitForScreen() {
    RunUntil([] { return ShatterActive == 0; }, 5.0f);
    Step();
}

void WholeGame::ToMainMenu() {
    RunUntil([] { return ScreenState == Title && ShatterActive == 0; }, 10.0f, 0.1f);
    Click(320, 440);  // the title's play button
    WaitForScreen();
}

void WholeGame::PlayNewGame(int mode, int kinds) {
    ToMainMenu();
    NewGameFromMenu(mode, kinds);
}

void WholeGame::NewGameFromMenu(int mode, int kinds) {
    Click(170, 257);  // New game
    Click(mode == 1 ? 317 : 320, mode == 1 ? 129 : 174);
    Click(320, 280 + 38 * (kinds - 6));
    Click(407, 402);                       // Start
    if (LeaveAsked != 0) Click(265, 259);  // Leave the game in progress
    if (NameBoxShown()) {
        WaitForScreen();
        Press(platform::TestKey::Enter);   // its name
        Step();                            // the table without the box shows
        Press(platform::TestKey::Escape);  // Back, on to the new game
    }
    RunUntil([] { return ShatterActive == 0 && DropIn == 0 && ClearOut == 0; }, 10.0f);
    MoveMouse(-50, -50);
}

Shot WholeGame::Picture() const { return Shot{platform::ReadPresentedPicture()}; }

void WholeGame::SaveShot(const std::string& name) const { ::SaveShot(name, Picture().Pixels); }

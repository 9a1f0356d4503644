// Tests of the input layer on the real clock: a held pad direction wakes a sleeping message loop.
#include "platform/input.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>

#include "platform/messages.h"

namespace {

// Ends a wait that nothing else ends: a close request after ten seconds.
Uint32 GiveUp(Uint32, void*) {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
    return 0;
}

platform::Message NextMessage() {
    return platform::PeekMessage() ? platform::GetMessage()
                                   : platform::Message{platform::MessageKind::Quit, -1};
}

TEST(InputTest, AHeldStickRepeatsAfterItsDelayAndWakesAWaitingLoop) {
    ASSERT_TRUE(platform::StartControllers());
    ASSERT_TRUE(platform::AttachVirtualController());
    while (platform::PeekMessage()) platform::GetMessage();
    platform::SetVirtualStick(30000, 0);
    const platform::Message first = NextMessage();
    EXPECT_EQ(first.kind, platform::MessageKind::KeyDown);
    EXPECT_EQ(first.value, static_cast<int32_t>(platform::Action::Right));
    EXPECT_TRUE(platform::KeysInUse());

    // Nothing else happens: the wait sleeps until the repeat is due, then wakes for it.
    const auto start = std::chrono::steady_clock::now();
    const SDL_TimerID deadline = SDL_AddTimer(10000, GiveUp, nullptr);
    platform::WaitMessage();
    SDL_RemoveTimer(deadline);
    const auto waited = std::chrono::steady_clock::now() - start;
    const platform::Message repeat = NextMessage();
    EXPECT_EQ(repeat.kind, platform::MessageKind::KeyDown);
    EXPECT_EQ(repeat.value, static_cast<int32_t>(platform::Action::Right));
    EXPECT_GE(waited, std::chrono::milliseconds(platform::PadRepeatDelay - 10));
    platform::DetachVirtualController();
}

}  // namespace

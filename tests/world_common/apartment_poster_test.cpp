// The apartment poster: closures posted from any thread run on the receiving thread, from its
// message loop, in order; a poster that goes takes its queue and its window with it.
#include <gtest/gtest.h>

#include <sim/desktop.h>

#include <memory>
#include <vector>

#include "world/common/apartment_poster.h"

namespace {

class ApartmentPosterTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  std::unique_ptr<world::ApartmentPoster> poster;
  DWORD app_thread = 0;
  DWORD pid = 0;
  std::vector<std::pair<int, DWORD>> ran;  // closure number, thread

  // Starts a program whose main thread makes the poster, runs `then`, and pumps messages.
  void StartReceiver(std::function<void()> then = [] {}) {
    pid = desktop.StartProcess(sim::ProcessInfo{0, u"app.exe", u"C:\\app.exe", u"app.exe"}, [this, then] {
      app_thread = GetCurrentThreadId();
      poster = std::make_unique<world::ApartmentPoster>();
      then();
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      return 0;
    });
    desktop.RunUntilIdle();
  }
  std::function<void()> Note(int number) {
    return [this, number] { ran.emplace_back(number, GetCurrentThreadId()); };
  }
};

TEST_F(ApartmentPosterTest, ClosuresFromAnotherThreadRunOnTheReceivingThreadInOrder) {
  StartReceiver();
  ASSERT_TRUE(poster->IsValid());
  EXPECT_EQ(poster->ThreadId(), app_thread);
  EXPECT_TRUE(poster->Post(Note(1)));
  EXPECT_TRUE(poster->Post(Note(2)));
  EXPECT_TRUE(ran.empty());
  desktop.RunUntilIdle();
  ASSERT_EQ(ran.size(), 2u);
  EXPECT_EQ(ran[0], std::make_pair(1, app_thread));
  EXPECT_EQ(ran[1], std::make_pair(2, app_thread));
}

TEST_F(ApartmentPosterTest, ItsWindowIsAHiddenMessageOnlyWindow) {
  StartReceiver();
  HWND window = poster->Window();
  EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, u"WorldApartmentPoster", nullptr), window);
  EXPECT_FALSE(IsWindowVisible(window));
  for (HWND top : sim::TopLevelWindows()) EXPECT_NE(top, window);
}

TEST_F(ApartmentPosterTest, PostingToItsOwnThreadWaitsForTheMessageLoop) {
  StartReceiver([this] {
    poster->Post(Note(1));
    Note(0)();
  });
  ASSERT_EQ(ran.size(), 2u);
  EXPECT_EQ(ran[0].first, 0);
  EXPECT_EQ(ran[1].first, 1);
}

TEST_F(ApartmentPosterTest, DestroyingThePosterDropsWhatHasNotRunAndClosesTheWindow) {
  StartReceiver();
  HWND window = poster->Window();
  auto counted = std::make_shared<int>(0);
  poster->Post([counted] { ++*counted; });
  EXPECT_EQ(counted.use_count(), 2);
  poster.reset();  // on the world's thread, not the receiving one
  EXPECT_EQ(counted.use_count(), 1);
  desktop.RunUntilIdle();
  EXPECT_EQ(*counted, 0);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(ApartmentPosterTest, AClosureMayDestroyThePoster) {
  StartReceiver();
  poster->Post([this] { poster.reset(); });
  poster->Post(Note(2));
  desktop.RunUntilIdle();
  EXPECT_EQ(poster, nullptr);
  EXPECT_TRUE(ran.empty());
}

TEST_F(ApartmentPosterTest, NothingCanBePostedOnceTheReceivingProgramEnded) {
  StartReceiver();
  desktop.EndProcess(pid);
  desktop.RunUntilIdle();
  EXPECT_FALSE(poster->IsValid());
  EXPECT_FALSE(poster->Post(Note(1)));
  poster.reset();
  EXPECT_TRUE(ran.empty());
}

}  // namespace

namespace {

// The sanitizer build sees whether the poster's shared block was freed.
TEST_F(ApartmentPosterTest, AClosureThatEndsItsThreadLeavesNothingBehind) {
  StartReceiver();
  auto counted = std::make_shared<int>(0);
  poster->Post([] { ExitThread(0); });
  poster->Post([counted] { ++*counted; });
  desktop.RunUntilIdle();
  EXPECT_EQ(*counted, 0);
  EXPECT_FALSE(poster->Post(Note(1)));
  poster.reset();
  EXPECT_EQ(counted.use_count(), 1);
  EXPECT_TRUE(ran.empty());
}

}  // namespace

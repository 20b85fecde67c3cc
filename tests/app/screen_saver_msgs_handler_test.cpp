#include <gtest/gtest.h>

#include <vector>

#include "app/screen_saver_msgs_handler.h"
#include "app/window_messages.h"

namespace {
NativeWindow const kWindow = reinterpret_cast<NativeWindow>(uintptr_t{0x1234});

MessageLParam Position(int x, int y) { return static_cast<MessageLParam>((uint32_t(y) << 16) | uint32_t(x & 0xFFFF)); }

struct Message {
  uint32_t id;
  MessageLParam lParam;
};

struct InputCase {
  const char* label;
  std::vector<Message> messages;
  int closes;  // WM_CLOSE requests expected over the whole sequence
};

class InputCloseRule : public ::testing::TestWithParam<InputCase> {};

TEST_P(InputCloseRule, RequestsCloseExactlyWhenTheRuleSays) {
  std::vector<NativeWindow> closed;
  ScreenSaverMsgsHandler handler([&](NativeWindow w) { closed.push_back(w); });
  for (const Message& m : GetParam().messages) {
    bool handled = true;
    EXPECT_EQ(handler.HandleMessage(kWindow, m.id, 0, m.lParam, handled), 0);
    EXPECT_FALSE(handled) << "the handler must never consume message " << m.id;
  }
  EXPECT_EQ(static_cast<int>(closed.size()), GetParam().closes);
  for (NativeWindow w : closed) EXPECT_EQ(w, kWindow);
}

using namespace winmsg;
const InputCase kInput[] = {
    {"FirstMoveNeverCloses", {{kMouseMove, Position(10, 20)}}, 0},
    {"FirstMoveAtOriginNeverCloses", {{kMouseMove, Position(0, 0)}}, 0},
    {"SecondMoveToNewPositionCloses", {{kMouseMove, Position(10, 20)}, {kMouseMove, Position(11, 20)}}, 1},
    {"SameYDifferentXCloses", {{kMouseMove, Position(5, 5)}, {kMouseMove, Position(6, 5)}}, 1},
    {"SameXDifferentYCloses", {{kMouseMove, Position(5, 5)}, {kMouseMove, Position(5, 6)}}, 1},
    {"MoveToSamePositionDoesNotClose",
     {{kMouseMove, Position(10, 20)}, {kMouseMove, Position(10, 20)}, {kMouseMove, Position(10, 20)}},
     0},
    {"EveryLaterChangeRequestsAgain",
     {{kMouseMove, Position(1, 1)}, {kMouseMove, Position(2, 1)}, {kMouseMove, Position(3, 1)}},
     2},
    {"FirstMoveAfterADisplayChangeNeverCloses",
     {{kMouseMove, Position(7, 7)}, {kDisplayChange, 0}, {kMouseMove, Position(207, 7)},
      {kMouseMove, Position(208, 7)}},
     1},
    {"KeyClosesAtOnce", {{kKeyDown, 0}}, 1},
    {"KeyBeforeAnyMoveCloses", {{kKeyDown, 0}, {kMouseMove, Position(3, 3)}}, 1},
    {"SysKeyDoesNotClose", {{kSysKeyDown, 0}}, 0},
    {"LeftClickDoesNotClose", {{kLButtonDown, Position(4, 4)}}, 0},
    {"EveryButtonAndTheWheelDoNotClose",
     {{0x0202, 0}, {0x0203, 0}, {0x0204, 0}, {0x0205, 0}, {0x0207, 0}, {0x0208, 0},
      {kMouseWheel, 0}, {0x020B, 0}, {0x020C, 0}, {0x020D, 0}, {kMouseLast, 0}},
     0},
    {"ClicksBetweenMovesDoNotCountAsMoves",
     {{kMouseMove, Position(7, 7)}, {kLButtonDown, Position(9, 9)}, {kMouseMove, Position(7, 7)}},
     0},
    {"UnrelatedMessagesDoNothing", {{kClose, 0}, {0x000F, 0}, {0x0102, 0}, {0x0400, 0}}, 0},
};

INSTANTIATE_TEST_SUITE_P(All, InputCloseRule, ::testing::ValuesIn(kInput),
                         [](const ::testing::TestParamInfo<InputCase>& info) { return info.param.label; });

TEST(InputCloseRuleState, RemembersTheLastPositionFromTheLowWord) {
  ScreenSaverMsgsHandler handler([](NativeWindow) {});
  EXPECT_EQ(handler.lastMousePos, -1);
  bool handled = false;
  handler.HandleMessage(kWindow, kMouseMove, 0, Position(300, 200), handled);
  EXPECT_EQ(handler.lastMousePos, static_cast<int32_t>(Position(300, 200)));
  // Bits above 32 in a 64-bit lParam carry no position.
  const MessageLParam wide = static_cast<MessageLParam>((uint64_t{0xABCD} << 32) | uint64_t(Position(300, 200)));
  int closes = 0;
  ScreenSaverMsgsHandler counting([&](NativeWindow) { ++closes; });
  counting.HandleMessage(kWindow, kMouseMove, 0, Position(300, 200), handled);
  counting.HandleMessage(kWindow, kMouseMove, 0, wide, handled);
  EXPECT_EQ(closes, 0);
}
}  // namespace

namespace {
// A tolerance of 8 pixels, moves in sequence: the count of close requests.
int ClosesWithTolerance(uint32_t tolerance, const std::vector<Message>& moves) {
  int closes = 0;
  ScreenSaverMsgsHandler handler([&](NativeWindow) { ++closes; }, tolerance);
  for (const Message& m : moves) {
    bool handled = true;
    handler.HandleMessage(kWindow, m.id, 0, m.lParam, handled);
    EXPECT_FALSE(handled);
  }
  return closes;
}
}  // namespace

TEST(CalmInput, ATremblingHandNeverEndsTheSaver) {
  // Back and forth around (100, 100), never 8 pixels away from it.
  EXPECT_EQ(ClosesWithTolerance(8, {{kMouseMove, Position(100, 100)}, {kMouseMove, Position(103, 98)},
                                    {kMouseMove, Position(96, 104)}, {kMouseMove, Position(105, 105)},
                                    {kMouseMove, Position(100, 107)}}),
            0);
  EXPECT_EQ(ClosesWithTolerance(0, {{kMouseMove, Position(100, 100)}, {kMouseMove, Position(103, 98)}}), 1)
      << "without a tolerance any new position ends it";
}

TEST(CalmInput, ASlowDragEndsItOnceFarEnoughFromTheFirstPosition) {
  // One pixel a move: seven steps stay within 8 pixels, the eighth reaches them.
  std::vector<Message> drag;
  for (int x = 0; x <= 7; ++x) drag.push_back({kMouseMove, Position(200 + x, 50)});
  EXPECT_EQ(ClosesWithTolerance(8, drag), 0);
  drag.push_back({kMouseMove, Position(208, 50)});
  EXPECT_EQ(ClosesWithTolerance(8, drag), 1);
  // Diagonally: (6, 6) is 8.49 pixels away.
  EXPECT_EQ(ClosesWithTolerance(8, {{kMouseMove, Position(10, 10)}, {kMouseMove, Position(15, 15)}}), 0);
  EXPECT_EQ(ClosesWithTolerance(8, {{kMouseMove, Position(10, 10)}, {kMouseMove, Position(16, 16)}}), 1);
  // Left of and above the primary monitor the coordinates are negative.
  EXPECT_EQ(ClosesWithTolerance(32, {{kMouseMove, Position(-5, -5)}, {kMouseMove, Position(20, -5)}}), 0);
  EXPECT_EQ(ClosesWithTolerance(32, {{kMouseMove, Position(-5, -5)}, {kMouseMove, Position(27, -5)}}), 1);
}

TEST(CalmInput, KeysStillEndItAndADisplayChangeTakesANewFirstPosition) {
  EXPECT_EQ(ClosesWithTolerance(32, {{kMouseMove, Position(1, 1)}, {kKeyDown, 0}}), 1);
  EXPECT_EQ(ClosesWithTolerance(32, {{kMouseMove, Position(1, 1)}, {kLButtonDown, Position(1, 1)}}), 0);
  // After the change the window moved under the cursor: 200 pixels on is its new first position.
  EXPECT_EQ(ClosesWithTolerance(32, {{kMouseMove, Position(7, 7)}, {kDisplayChange, 0},
                                     {kMouseMove, Position(207, 7)}, {kMouseMove, Position(220, 7)}}),
            0);
}

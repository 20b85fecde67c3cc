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

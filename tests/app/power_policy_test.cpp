#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/power_policy.h"
#include "app/window_messages.h"

namespace {
NativeWindow const kWindow = reinterpret_cast<NativeWindow>(uintptr_t{0x4321});

FrameRegime Regime(bool asleep, bool black, int32_t divisor) {
  FrameRegime r;
  r.asleep = asleep;
  r.black = black;
  r.rateDivisor = divisor;
  return r;
}

// A POWERBROADCAST_SETTING as Windows lays it out: GUID, data length, data.
struct Setting {
  uint8_t bytes[24];
};
Setting MakeSetting(const uint8_t guid[16], uint32_t state) {
  Setting s{};
  std::memcpy(s.bytes, guid, 16);
  const uint32_t length = 4;
  std::memcpy(s.bytes + 16, &length, 4);
  std::memcpy(s.bytes + 20, &state, 4);
  return s;
}
constexpr uint8_t kConsoleDisplay[16] = {0x56, 0x95, 0xE6, 0x6F, 0x4A, 0x70, 0xA0, 0x47,
                                         0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47};
constexpr uint8_t kMonitorPower[16] = {0x15, 0x10, 0x73, 0x02, 0x10, 0x45, 0x26, 0x45,
                                       0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA};
// GUID_ACDC_POWER_SOURCE: some other setting.
constexpr uint8_t kOther[16] = {0x5D, 0x3E, 0x9A, 0x5D, 0xE4, 0x1C, 0x4B, 0x4A,
                                0x83, 0x8C, 0x2B, 0x1F, 0x1C, 0xFE, 0xDD, 0x2B};
}  // namespace

TEST(PowerRegime, FollowsTheChoiceOnBatteryAndSleepsWhileTheDisplayIsOff) {
  const PowerSource mains{}, battery{true, false}, saver{false, true};
  EXPECT_EQ(RegimeFor(kBatteryHalfRate, mains, true), Regime(false, false, 1));
  EXPECT_EQ(RegimeFor(kBatteryBlack, mains, true), Regime(false, false, 1));
  EXPECT_EQ(RegimeFor(kBatteryFullSpeed, battery, true), Regime(false, false, 1));
  EXPECT_EQ(RegimeFor(kBatteryHalfRate, battery, true), Regime(false, false, 2));
  EXPECT_EQ(RegimeFor(kBatteryBlack, battery, true), Regime(true, true, 1));
  EXPECT_EQ(RegimeFor(kBatteryHalfRate, saver, true), Regime(false, false, 2));
  EXPECT_EQ(RegimeFor(7, battery, true), Regime(false, false, 2)) << "an unknown choice acts as the default";
  EXPECT_EQ(RegimeFor(kBatteryFullSpeed, mains, false), Regime(true, false, 1));
  EXPECT_EQ(RegimeFor(kBatteryBlack, battery, false), Regime(true, false, 1));
}

TEST(PowerRegime, ReadsBothDisplayNotificationsAndNothingElse) {
  bool on = true;
  Setting off = MakeSetting(kConsoleDisplay, 0);
  EXPECT_TRUE(DisplayStateOf(off.bytes, on));
  EXPECT_FALSE(on);
  Setting dimmed = MakeSetting(kConsoleDisplay, 2);
  EXPECT_TRUE(DisplayStateOf(dimmed.bytes, on));
  EXPECT_TRUE(on);
  Setting monitorOff = MakeSetting(kMonitorPower, 0);
  EXPECT_TRUE(DisplayStateOf(monitorOff.bytes, on));
  EXPECT_FALSE(on);
  on = true;
  Setting other = MakeSetting(kOther, 0);
  EXPECT_FALSE(DisplayStateOf(other.bytes, on));
  EXPECT_TRUE(on);
  EXPECT_FALSE(DisplayStateOf(nullptr, on));
}

TEST(PowerHandler, AppliesTheRegimeAtTheFirstMessageAndAtEveryChangeOnly) {
  PowerSource source;  // mains
  std::vector<FrameRegime> applied;
  std::vector<NativeWindow> watched;
  PowerMsgsHandler handler(
      kBatteryHalfRate, [&] { return source; }, [&](const FrameRegime& r) { applied.push_back(r); },
      [&](NativeWindow w) { watched.push_back(w); });
  auto send = [&](NativeWindow w, uint32_t message, MessageWParam wParam, const void* lParam) {
    bool handled = true;
    handler.HandleMessage(w, message, wParam, reinterpret_cast<MessageLParam>(lParam), handled);
    EXPECT_FALSE(handled);
  };
  send(nullptr, 0x0400, 0, nullptr);  // a thread message: no window to watch with yet
  EXPECT_TRUE(applied.empty());
  send(kWindow, 0x0001, 0, nullptr);
  send(kWindow, 0x000F, 0, nullptr);
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied.back(), Regime(false, false, 1));
  EXPECT_EQ(watched, std::vector<NativeWindow>{kWindow});

  source.onBattery = true;  // unplugged
  send(kWindow, winmsg::kPowerBroadcast, winmsg::kPbtPowerStatusChange, nullptr);
  ASSERT_EQ(applied.size(), 2u);
  EXPECT_EQ(applied.back(), Regime(false, false, 2));

  const Setting off = MakeSetting(kConsoleDisplay, 0), on = MakeSetting(kConsoleDisplay, 1);
  send(kWindow, winmsg::kPowerBroadcast, winmsg::kPbtPowerSettingChange, off.bytes);
  ASSERT_EQ(applied.size(), 3u);
  EXPECT_EQ(applied.back(), Regime(true, false, 1));
  send(kWindow, winmsg::kPowerBroadcast, winmsg::kPbtPowerSettingChange, off.bytes);
  EXPECT_EQ(applied.size(), 3u) << "no change, nothing applied";
  send(kWindow, winmsg::kPowerBroadcast, winmsg::kPbtPowerSettingChange, on.bytes);
  ASSERT_EQ(applied.size(), 4u);
  EXPECT_EQ(applied.back(), Regime(false, false, 2));

  source.onBattery = false;  // plugged in again
  send(kWindow, winmsg::kPowerBroadcast, winmsg::kPbtPowerStatusChange, nullptr);
  ASSERT_EQ(applied.size(), 5u);
  EXPECT_EQ(applied.back(), Regime(false, false, 1));
  EXPECT_EQ(watched.size(), 1u);
}

TEST(PowerHandler, StartsAsleepBehindBlackWhenTheRunBeginsOnBattery) {
  std::vector<FrameRegime> applied;
  PowerMsgsHandler handler(
      kBatteryBlack, [] { return PowerSource{true, false}; }, [&](const FrameRegime& r) { applied.push_back(r); },
      nullptr);
  bool handled = false;
  handler.HandleMessage(kWindow, 0x0001, 0, 0, handled);
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied.back(), Regime(true, true, 1));
}

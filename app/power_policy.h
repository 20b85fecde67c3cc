// How the full-screen saver spares the machine: on battery (or with the
// system's battery saver on) it follows the `OnBattery` setting, and while
// the display is off it steps and draws nothing at all. The handler follows
// the system's power messages and tells the loop what to do whenever that
// changes; it never keeps the display or the system awake, so the system's
// own power-off still comes while the saver runs.
//
// Portable: the power status, the display watch and the loop are injected
// (the Win32 side is in saver_app_win32.cpp).
#pragma once

#include <cstdint>
#include <functional>

#include "engine/core/task.h"

// The `OnBattery` choices (the Video page's "On battery:").
enum OnBatteryChoice : uint32_t { kBatteryFullSpeed = 0, kBatteryHalfRate = 1, kBatteryBlack = 2 };

struct PowerSource {
  bool onBattery = false;    // ACLineStatus 0
  bool powerSaving = false;  // the battery saver is on
};

struct FrameRegime {
  bool asleep = false;  // nothing stepped or drawn; the loop waits for messages
  bool black = false;   // asleep behind a black picture (on battery)
  int32_t rateDivisor = 1;
  bool operator==(const FrameRegime& o) const {
    return asleep == o.asleep && black == o.black && rateDivisor == o.rateDivisor;
  }
  bool operator!=(const FrameRegime& o) const { return !(*this == o); }
};

// A stored choice outside 0..2 acts as the default, half the frame rate.
uint32_t EffectiveOnBattery(uint32_t stored);
FrameRegime RegimeFor(uint32_t onBattery, PowerSource source, bool displayOn);

// The power-setting notifications the display watch asks for, as they reach
// the window (POWERBROADCAST_SETTING: the setting's GUID, the data's length
// and the data). True with `displayOn` set for a display-state or
// monitor-power notification; false for anything else.
bool DisplayStateOf(const void* setting, bool& displayOn);

class PowerMsgsHandler final : public IWindowMsgHandler {
 public:
  using QuerySource = std::function<PowerSource()>;
  using ApplyRegime = std::function<void(const FrameRegime&)>;
  using WatchDisplay = std::function<void(NativeWindow)>;
  // `query` reads the power status now; `apply` is called on the first
  // message with the regime then in force and at every change after;
  // `watch` is called once, with the first window a message comes for, to
  // ask for the display's power notifications.
  PowerMsgsHandler(uint32_t onBattery, QuerySource query, ApplyRegime apply, WatchDisplay watch);

  intptr_t HandleMessage(NativeWindow window, uint32_t message, MessageWParam wParam, MessageLParam lParam,
                         bool& handled) override;

  const FrameRegime& Regime() const { return regime_; }

 private:
  void Follow();
  uint32_t onBattery_;
  QuerySource query_;
  ApplyRegime apply_;
  WatchDisplay watch_;
  PowerSource source_;
  bool displayOn_ = true;
  bool started_ = false;
  FrameRegime regime_;
};

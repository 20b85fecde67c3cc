#include "app/power_policy.h"

#include <cstring>

#include "app/window_messages.h"

namespace {
// The GUIDs as they lie in memory: Data1, Data2 and Data3 little-endian,
// then Data4's eight bytes.
using GuidBytes = uint8_t[16];
// GUID_CONSOLE_DISPLAY_STATE {6FE69556-704A-47A0-8F24-C28D936FDA47}, Windows 8 on:
// 0 off, 1 on, 2 dimmed.
constexpr GuidBytes kConsoleDisplayState = {0x56, 0x95, 0xE6, 0x6F, 0x4A, 0x70, 0xA0, 0x47,
                                            0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47};
// GUID_MONITOR_POWER_ON {02731015-4510-4526-99E6-E5A17EBD1AEA}, Windows 7: 0 off, 1 on.
constexpr GuidBytes kMonitorPowerOn = {0x15, 0x10, 0x73, 0x02, 0x10, 0x45, 0x26, 0x45,
                                       0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA};
}  // namespace

uint32_t EffectiveOnBattery(uint32_t stored) { return stored <= kBatteryBlack ? stored : kBatteryHalfRate; }

FrameRegime RegimeFor(uint32_t onBattery, PowerSource source, bool displayOn) {
  FrameRegime regime;
  if (!displayOn) {
    regime.asleep = true;
    return regime;
  }
  if (!source.onBattery && !source.powerSaving) return regime;
  switch (EffectiveOnBattery(onBattery)) {
    case kBatteryHalfRate:
      regime.rateDivisor = 2;
      break;
    case kBatteryBlack:
      regime.asleep = true;
      regime.black = true;
      break;
    default:
      break;
  }
  return regime;
}

bool DisplayStateOf(const void* setting, bool& displayOn) {
  if (setting == nullptr) return false;
  const auto* bytes = static_cast<const uint8_t*>(setting);
  const bool console = std::memcmp(bytes, kConsoleDisplayState, 16) == 0;
  if (!console && std::memcmp(bytes, kMonitorPowerOn, 16) != 0) return false;
  uint32_t length = 0;
  std::memcpy(&length, bytes + 16, 4);
  if (length < 4) return false;
  uint32_t state = 0;
  std::memcpy(&state, bytes + 20, 4);
  // A dimmed display still shows the picture.
  displayOn = state != 0;
  return true;
}

PowerMsgsHandler::PowerMsgsHandler(uint32_t onBattery, QuerySource query, ApplyRegime apply, WatchDisplay watch)
    : onBattery_(onBattery), query_(std::move(query)), apply_(std::move(apply)), watch_(std::move(watch)) {}

void PowerMsgsHandler::Follow() {
  const FrameRegime next = RegimeFor(onBattery_, source_, displayOn_);
  if (next == regime_ && started_) return;
  regime_ = next;
  started_ = true;
  if (apply_) apply_(regime_);
}

intptr_t PowerMsgsHandler::HandleMessage(NativeWindow window, uint32_t message, MessageWParam wParam,
                                         MessageLParam lParam, bool& handled) {
  handled = false;
  if (!started_ && window != nullptr) {
    if (query_) source_ = query_();
    if (watch_) watch_(window);
    Follow();
  }
  if (message != winmsg::kPowerBroadcast) return 0;
  if (wParam == winmsg::kPbtPowerStatusChange) {
    if (query_) source_ = query_();
  } else if (wParam == winmsg::kPbtPowerSettingChange) {
    bool displayOn = displayOn_;
    if (DisplayStateOf(reinterpret_cast<const void*>(lParam), displayOn)) {
      displayOn_ = displayOn;
    } else if (query_) {
      // The battery saver's own notification, among others: the status says it.
      source_ = query_();
    }
  } else {
    return 0;
  }
  if (started_) Follow();
  return 0;
}

// The two trackbars of the configuration pages and the settings they stand
// for. Plain arithmetic in single precision, shared by the pages and tests.
//
// Fading (Rules page, positions 1..100): step = log10(1 + 9 (p - 1) / 99) *
// 0.999 + 0.001, so 1 gives 0.001 and 100 gives 1.0 ("Zombie": no fading).
// Speed (Field page, positions 1..50): 50 means as fast as possible (0 ms),
// any other p means 1000 / p milliseconds between generations.
//
// Trap: going back from a setting to a position truncates, and the float
// round trip of a grid value can land a hair below it (1000 / (1000 / 3) is
// 2.9999998f). Truncating that would move the thumb and the setting one notch
// each time the page opens, so values within kGridSlack of the next position
// count as that position.
#pragma once

#include <cstdint>

constexpr int32_t kDieStepMinPos = 1;
constexpr int32_t kDieStepMaxPos = 100;
constexpr int32_t kSpeedMinPos = 1;
constexpr int32_t kSpeedMaxPos = 50;
constexpr float kGridSlack = 1e-3f;

float DieStepFromPosition(int32_t position);
int32_t PositionFromDieStep(float dieStep);
// The label rule: a step within 1e-7 of 1 is shown as "Zombie".
bool DieStepIsZombie(float dieStep);

float LifeSpeedFromPosition(int32_t position);
int32_t PositionFromLifeSpeed(float lifeSpeed);

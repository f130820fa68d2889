#pragma once

// A progress run: a 100 ms timer whose every tick adds a step to a bar running
// from 0 to 100 while the bar stands at or below the threshold; the first tick
// that finds the bar above it does the run's work, stops the timer and empties
// the bar. From 0 that is ten filling ticks and the work on the eleventh.
// The bar's value is single precision, as is all arithmetic on it.
namespace progressrun {

inline constexpr int kIntervalMs = 100;
inline constexpr float kStep = 10.0f;
inline constexpr float kThreshold = 90.0f;

struct Tick {
    float value; // the bar's value after the tick
    bool finish; // true: do the work, stop the timer; value is then 0
};

Tick tick(float barValue);

} // namespace progressrun

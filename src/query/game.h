#pragma once

// The three games the program serves. They differ mostly in names, which the
// tables of each subsystem carry.
enum class Game { UT99, UT2004, UT3 };

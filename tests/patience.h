// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How long a test waits for what it waits for (a program to end, the window
// to settle): a condition with a deadline generous enough for the
// sanitizers' build on a busy two-core machine, never a time that must pass.
inline constexpr int kPatienceMs = 60000;

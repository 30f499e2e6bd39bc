#pragma once

namespace lorvane::test {

// The logical DPI of the test program's desktop: 96, or N after --lorvane-dpi=N, which sets the
// desktop up as one scaled to N / 96 through its logical DPI, the scaling Qt leaves to the
// program (192: 200 %). Tests of sizes expect them in this proportion.
int desktopDpi();

}  // namespace lorvane::test

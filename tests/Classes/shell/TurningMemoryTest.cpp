// Turning the window again and again holds no more memory than the first
// turns did: every frame of a turn draws the shell's texts under another
// transform, and nothing kept per transform may pile up.
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/graphics/Context.h"
#include "platform/graphics/ScaledImageCache.h"
#include "tests/Classes/shell/ShellFixture.h"

extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace shelltest {
namespace {

// Bytes the allocator has handed out and not taken back.
double bytesInUse() {
  if (__sanitizer_get_current_allocated_bytes) return double(__sanitizer_get_current_allocated_bytes());
  return double(mallinfo2().uordblks);
}

class TurningMemoryTest : public ShellTest {
 protected:
  // One turn to the next orientation, drawn at moments of its animation
  // that differ from turn to turn (as a real clock's frames do), then at rest.
  void turnOnce(int turn, cg::Context& frame) {
    static const ui::InterfaceOrientation kOrder[] = {
        ui::InterfaceOrientation::Portrait, ui::InterfaceOrientation::LandscapeLeft,
        ui::InterfaceOrientation::PortraitUpsideDown, ui::InterfaceOrientation::LandscapeRight};
    ui::Window& window = *ui::Window::keyWindow();
    ASSERT_TRUE(window.rotateToInterfaceOrientation(kOrder[turn % 4]));
    double duration = ui::Window::kRotationDuration;
    // Fractions of the golden ratio's multiples never repeat.
    auto phase = [turn](double k) { double x = turn * k; return x - std::floor(x); };
    double first = duration * (0.05 + 0.4 * phase(0.6180339887));
    double second = duration * (0.5 + 0.4 * phase(0.7548776662));
    backend().advance(first);
    window.render(frame);
    backend().advance(second - first);
    window.render(frame);
    backend().advance(duration - second + 0.05);
    window.render(frame);
  }
};

TEST_F(TurningMemoryTest, MemoryStopsGrowingAfterTheFirstTurns) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  defaults().setInteger(1, "CurrentTranslationv22");
  defaults().setInteger(2, "CurrentlyShowingSurah");
  launch();
  settle(1);
  cg::Context frame = cg::Context::bitmap(1024, 1024);
  constexpr int kWarmTurns = 16;
  // ZARVEL_TURNS=1000 measures a longer run once, with the figure after 10 turns.
  const char* asked = std::getenv("ZARVEL_TURNS");
  const int turns = asked ? std::max(std::atoi(asked), kWarmTurns) : 64;
  for (int turn = 0; turn < kWarmTurns; ++turn) {
    turnOnce(turn, frame);
    if (asked && turn + 1 == 10) {
      malloc_trim(0);
      std::printf("in use after 10 turns: %.1f MB\n", bytesInUse() / 1e6);
    }
  }
  malloc_trim(0);
  double warm = bytesInUse();
  double keptWarm = double(cg::detail::scaledCopyBytes());
  for (int turn = kWarmTurns; turn < turns; ++turn) turnOnce(turn, frame);
  malloc_trim(0);
  double after = bytesInUse();
  double kept = double(cg::detail::scaledCopyBytes());
  std::printf("in use after %d turns: %.1f MB, after %d: %.1f MB (smoothed copies kept: %.1f MB, then %.1f MB)\n",
              kWarmTurns, warm / 1e6, turns, after / 1e6, keptWarm / 1e6, kept / 1e6);
  // Bitmaps smoothed to the sizes drawn are kept within a budget of their
  // own; beside them, what later turns add is within a few caches' worth,
  // not a share per turn.
  EXPECT_LE(kept, double(cg::detail::kScaledCopyBudget));
  double grown = (after - kept) - (warm - keptWarm);
  EXPECT_LT(grown, 2e6) << "grew by " << grown / 1e6 << " MB beside the smoothed copies over " << turns - kWarmTurns
                        << " turns";
}

}  // namespace
}  // namespace shelltest

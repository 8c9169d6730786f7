#pragma once
// Where a presented frame goes: the window on the screen, or nowhere (the
// headless device).
#include <cstdint>

namespace vtrak {

class Presenter {
 public:
  virtual ~Presenter() = default;
  // Shows one frame of `width` x `height` ARGB pixels, row-major. Only a
  // renderer synchronised with the display waits here, for its retrace.
  virtual void Present(const uint32_t* argb, int width, int height) = 0;
  // Sleeps, after a present, as long as the pacing asks before the next
  // frame reads its input.
  virtual void WaitForNextFrame() = 0;
  // The refreshes a second the presents keep to: as measured where the
  // display's own clock paces them, else the rate they are paced at; 0 while
  // not known or not paced.
  virtual double RefreshHz() const { return 0; }
};

}  // namespace vtrak

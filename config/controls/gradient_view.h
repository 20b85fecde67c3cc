// What the palette list (config/pages) needs from a control that shows a
// gradient: hand over the gradient it shows, take a new one, and repaint.
// It sits with the gradient control, which implements it, so that the
// control need not know the pages. Portable.
#pragma once

#include "palette/gradient.h"

class IGradientView {
 public:
  virtual ~IGradientView() = default;
  // The gradient as shown and possibly edited by the user.
  virtual const CGradient& GetGradient() const = 0;
  // Replaces the shown gradient with a copy of `gradient` (CGradient::CopyFrom).
  virtual void SetGradient(const CGradient& gradient) = 0;
  // Asks for a repaint; does nothing while the view has no window.
  virtual void Invalidate() = 0;
};

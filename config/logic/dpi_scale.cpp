#include "config/logic/dpi_scale.h"

int32_t ScaleToDpi(int32_t pixels, int32_t dpi) {
  if (dpi <= 0) dpi = kDesignDpi;
  const int64_t product = static_cast<int64_t>(pixels) * dpi;
  const int64_t half = kDesignDpi / 2;
  return static_cast<int32_t>(product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi));
}

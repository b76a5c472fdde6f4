#include "resources/view_size.h"

#include "platform/engine.h"
#include "resources/settings.h"

int32_t ViewWidth() {
  const int32_t width = EngineViewWidth();
  return width > 0 ? width : Settings.screenWidth;
}

int32_t ViewHeight() {
  const int32_t height = EngineViewHeight();
  return height > 0 ? height : Settings.screenHeight;
}

#include "GDIPlusGlobals.h"

#include "CFontDesc.h"
#include "platform/GraphicsSystem.h"

namespace gui {

namespace {
GDIPlusGlobals* instance = nullptr;
}

GDIPlusGlobals::GDIPlusGlobals() : token(platform::startGraphicsSystem()) {}

GDIPlusGlobals::~GDIPlusGlobals() {
  // The standard fonts outlive the graphics system; their platform fonts must not.
  CFontDesc::freeStandardPlatformFonts();
  platform::stopGraphicsSystem(token);
}

void GDIPlusGlobals::acquire() {
  if (instance)
    instance->remember();
  else
    instance = new GDIPlusGlobals();
}

void GDIPlusGlobals::release() {
  if (!instance) return;
  const int32_t count = instance->getNbReference();
  instance->forget();
  if (count == 1) instance = nullptr;
}

GDIPlusGlobals* GDIPlusGlobals::getInstance() { return instance; }

}  // namespace gui

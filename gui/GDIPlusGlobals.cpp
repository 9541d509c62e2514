#include "GDIPlusGlobals.h"

#include "CFontDesc.h"
#include "platform/GraphicsSystem.h"

namespace gui {

namespace {
GDIPlusGlobals* instance = nullptr;
}

GDIPlusGlobals::GDIPlusGlobals() : token(platform::startGraphicsSystem()) {}

GDIPlusGlobals::~GDIPlusGlobals() {
  // Font descriptions may outlive the graphics system (the standard ones always do); their
  // platform fonts must not.
  CFontDesc::freeAllPlatformFonts();
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

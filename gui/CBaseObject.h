// The reference-counted base of every toolkit object: a creator holds the first reference.
#pragma once

#include <cstdint>

namespace gui {

using CMessageResult = int32_t;
constexpr CMessageResult kMessageUnknown = 0;
constexpr CMessageResult kMessageNotified = 1;

class CBaseObject {
 public:
  CBaseObject() = default;
  // A copy is a new object with its own single reference.
  CBaseObject(const CBaseObject& /*other*/) {}
  CBaseObject& operator=(const CBaseObject&) = delete;
  virtual ~CBaseObject() = default;

  // Drops one reference; the last one destroys the object. Counting is not atomic: the toolkit
  // lives on the window thread only.
  virtual void forget() {
    if (nbReference-- == 1) delete this;
  }
  virtual void remember() { nbReference++; }
  virtual CMessageResult notify(CBaseObject* /*sender*/, const char* /*message*/) {
    return kMessageUnknown;
  }

  int32_t getNbReference() const { return nbReference; }

 private:
  int32_t nbReference = 1;
};

}  // namespace gui

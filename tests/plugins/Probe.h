// The interface of the test modules: which library made the object.
#pragma once

#include "Plug.h"

class I_Probe : public I_Plug {
 public:
  virtual const char* Origin() = 0;  // slot 3

 protected:
  ~I_Probe() = default;
};

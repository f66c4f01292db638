// The converter module: the whole application behind the launcher's single call to Run.
#pragma once

#include "Plug.h"

class TConverterForm1;

class KovraneMui final : public I_KovraneMui {
 public:
  KovraneMui() = default;

  bool InitInstance() override;
  int32_t AddRef() override;
  void Release() override;
  bool Ready() override;
  // Runs the application until its main window closes; every error is shown once and the
  // call still returns true.
  bool Run(const void* icon, const char* title, const char* purchase) override;

 private:
  ~KovraneMui() = default;  // Release deletes
  int32_t FRefCount = 1;
};

// The module factory registered under "KovraneMui".
I_Plug* CreateKovraneMui();

// The main window while Run is active, nullptr otherwise.
extern TConverterForm1* ConverterForm1;

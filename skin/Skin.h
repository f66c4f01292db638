// The skinned controls: window background and shapes, buttons, progress bar.
#pragma once

#include "SSButton.h"
#include "SSForm.h"
#include "Sspublic.h"
#include "TSkinProcess.h"

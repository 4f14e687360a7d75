// Everything a screen may call of the device layer.
#pragma once

#include "platform/ui/win_types.h"
#include "platform/ui/windows.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/shell.h"

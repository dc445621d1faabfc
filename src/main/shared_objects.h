#pragma once

#include "desktop/cAV.h"
#include "desktop/clsSysTray.h"
#include "storage/cIni.h"
#include "storage/clsRegistry.h"

// The program-wide shared objects, each made on first use and kept until the process ends: the
// settings store and the INI-file object here, the tray icon object (oSysTray) and the sound
// player (oAV) beside their classes.
clsRegistry& oRegistry();
cIni& oIni();

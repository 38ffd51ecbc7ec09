#pragma once
// Identifiers of the resources linked into Orvalet.exe. Shared by the
// resource script and the code that loads them; plain macros so that the
// resource compiler can read this file.
#define ORVALET_IDI_MAIN 1
// The six 18 x 18 menu images side by side, 32-bit premultiplied alpha.
#define ORVALET_IDB_ACTION_IMAGES 2
// The about box's donation button picture, 62 x 31.
#define ORVALET_IDB_DONATION 3

#pragma once
// Identifiers of the resources linked into Orvalet.exe. Shared by the
// resource script and the code that loads them; plain macros so that the
// resource compiler can read this file.
#define ORVALET_IDI_MAIN 1

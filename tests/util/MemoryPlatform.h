#pragma once
// The in-memory platform now lives in tests/support; this name stays for the benchmarks.
#include "support/MemoryPlatform.h"

#pragma once
// Marks the module's exports: the CAD host finds the module by these names only.

#if defined(_WIN32)
#define VELMARIN_EXPORT __declspec(dllexport)
#else
#define VELMARIN_EXPORT __attribute__((visibility("default")))
#endif

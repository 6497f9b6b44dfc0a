#pragma once
// The one entry of the VORD client library. It takes the operation code and returns the result
// (both 32-bit signed). The calling convention is the C one (__cdecl), which keeps the exported
// name undecorated ("VORD_Invoke") on 32-bit Windows; the plug-in and the client double share
// this typedef.

#include <cstdint>

#if defined(_WIN32)
#define VORD_CALL __cdecl
#else
#define VORD_CALL
#endif

extern "C" {
typedef std::int32_t(VORD_CALL* VordInvokeProc)(std::int32_t code);
}

#pragma once
// How the bridge finds the VORD client and reaches its one entry. Nothing is cached: every call
// checks the file, loads (or finds the already loaded) library and looks the entry up again, so a
// client installed while the editor runs is found at the next call.

#include <string>

#include "platform/Platform.h"

namespace velmarin::bridge {

// A REG_SZ value under HKEY_LOCAL_MACHINE, "" when it is missing.
std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName);
// The library at `path`; null, after telling the user why, when it is missing or does not load.
platform::LibraryHandle LoadClientLibrary(const std::string& path);
// The address of `name` in the library at `path`, or null.
void* ClientProc(const std::string& path, const std::string& name);
// Calls the entry `name` of the library at `path` with `argument`; 0 when it cannot be reached.
int CallClientEntry(const std::string& path, const std::string& name, int argument);

}  // namespace velmarin::bridge

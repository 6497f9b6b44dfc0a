extern "C" __attribute__((visibility("default"))) int zcrxEntryPoint(int, void*) { return 0; }
extern "C" __attribute__((visibility("default"))) void* _hdllInstance = nullptr;

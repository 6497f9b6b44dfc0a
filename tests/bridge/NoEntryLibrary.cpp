// A loadable library without the client entry, standing for a wrong client installation.
extern "C" __attribute__((visibility("default"))) int SomeOtherEntry(int code) { return code; }

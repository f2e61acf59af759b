// A small library that the tests load by its Windows name.
#ifdef _WIN32
#define SAMPLE_EXPORT extern "C" __declspec(dllexport)
#else
#define SAMPLE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

SAMPLE_EXPORT int PlatformSampleAnswer(int x) { return x * 2 + 1; }
SAMPLE_EXPORT int platform_sample_marker() { return 42; }

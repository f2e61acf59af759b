// A small library that the tests load by its Windows name.
#define SAMPLE_EXPORT extern "C" __attribute__((visibility("default")))

SAMPLE_EXPORT int PlatformSampleAnswer(int x) { return x * 2 + 1; }
SAMPLE_EXPORT int platform_sample_marker() { return 42; }

// The main of every test program. With FISCAL_TEST_LOCALE set, the whole
// process runs under that locale, C and C++ alike, as inside a host that calls
// setlocale(LC_ALL, "") in Brazil. A locale that cannot be set fails the run:
// a test that silently ran in the C locale would prove nothing.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <stdexcept>

namespace {

bool UseProcessLocale(const char* name) {
  if (!std::setlocale(LC_ALL, name)) {
    std::fprintf(stderr, "The test locale %s is not available: run scripts/setup to generate it.\n", name);
    return false;
  }
#ifndef _WIN32
  // The Windows C++ runtime knows only the "C" locale by name, so there a
  // host can change only the C locale.
  try {
    std::locale::global(std::locale(name));
  } catch (const std::runtime_error&) {
    std::fprintf(stderr, "The C++ library cannot use the test locale %s.\n", name);
    return false;
  }
#endif
  const std::lconv* numbers = std::localeconv();
  if (numbers->decimal_point[0] != ',') {
    std::fprintf(stderr, "The test locale %s has the decimal mark '%s', not a comma.\n", name, numbers->decimal_point);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const char* name = std::getenv("FISCAL_TEST_LOCALE");
  if (name && *name && !UseProcessLocale(name)) return 2;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// The driver exports a FechaPorta of its own. This program does too, and its
// symbol is global, as the driver's is in the host: the non-fiscal printer
// library must still close its port with its own FechaPorta.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

#include "test_support/loaded_library.h"
#include "test_support/temp_environment.h"

namespace {
int host_fecha_porta_calls = 0;
}

extern "C" __attribute__((visibility("default"))) int FechaPorta() {
  ++host_fecha_porta_calls;
  return 42;
}

namespace {

using OpenFn = int(const char*);
using FormatFn = int(const char*, int, int, int, int, int);
using CloseFn = int();

TEST(Mp2032SymbolClash, LibraryClosesItsPortWithItsOwnFechaPorta) {
  // The clash is real: a global lookup finds this program's FechaPorta.
  ASSERT_EQ(dlsym(RTLD_DEFAULT, "FechaPorta"), reinterpret_cast<void*>(&FechaPorta));

  test_support::TempEnvironment env;
  test_support::LoadedLibrary library("Mp2032.so");
  auto open_port = library.function<OpenFn>("IniciaPorta");
  auto print = library.function<FormatFn>("FormataTX");
  auto library_close = library.function<CloseFn>("FechaPorta");
  ASSERT_NE(reinterpret_cast<void*>(library_close), reinterpret_cast<void*>(&FechaPorta));

  const std::string first = env.root() + "/first.prn";
  const std::string second = env.root() + "/second.prn";
  ASSERT_EQ(open_port(first.c_str()), 1);
  ASSERT_EQ(print("A", 2, 0, 0, 0, 0), 1);
  // Opening another port closes the first through the library's FechaPorta.
  ASSERT_EQ(open_port(second.c_str()), 1);
  ASSERT_EQ(print("B", 2, 0, 0, 0, 0), 1);
  EXPECT_EQ(library_close(), 1);
  EXPECT_EQ(library_close(), 0);  // the port really is closed
  EXPECT_EQ(print("C", 2, 0, 0, 0, 0), -1);

  EXPECT_EQ(host_fecha_porta_calls, 0);
  EXPECT_EQ(test_support::read_file_or_empty(first), "\x12" "A");
  EXPECT_EQ(test_support::read_file_or_empty(second), "\x12" "B");
}

}  // namespace

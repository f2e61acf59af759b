// The driver exports variables named as the vendor's entry points. The
// printer library's calls to its own entry points must never reach them.
#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <set>

#include <gmock/gmock.h>

#include "driver_fixture.h"
#include "test_support/child_process.h"

namespace driver_test {
namespace {

std::set<std::string> SlotNames() {
  std::set<std::string> names;
#define ADD_NAME(name, result, args) names.insert(#name);
  KVR_BOUND_ENTRY_POINTS(ADD_NAME)
  KVR_OPTIONAL_ENTRY_POINTS(ADD_NAME)
#undef ADD_NAME
  return names;
}

// The symbols that a shared object leaves to the dynamic loader to bind
// (named in its relocations), and the ones it defines in its dynamic table.
struct DynamicSymbols {
  std::set<std::string> relocated, defined;
};

DynamicSymbols ReadDynamicSymbols(const std::string& path) {
  const std::string image = test_support::read_file_or_empty(path);
  if (image.size() < sizeof(Elf64_Ehdr)) throw std::runtime_error("not an ELF file: " + path);
  const auto* header = reinterpret_cast<const Elf64_Ehdr*>(image.data());
  if (std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 || header->e_ident[EI_CLASS] != ELFCLASS64)
    throw std::runtime_error("not a 64-bit ELF file: " + path);
  const auto* sections = reinterpret_cast<const Elf64_Shdr*>(image.data() + header->e_shoff);
  auto symbol_name = [&](const Elf64_Shdr& symtab, std::size_t index) {
    const auto* symbols = reinterpret_cast<const Elf64_Sym*>(image.data() + symtab.sh_offset);
    const char* strings = image.data() + sections[symtab.sh_link].sh_offset;
    return std::string(strings + symbols[index].st_name);
  };
  DynamicSymbols result;
  for (int i = 0; i < header->e_shnum; ++i) {
    const Elf64_Shdr& section = sections[i];
    if (section.sh_type == SHT_DYNSYM) {
      const auto* symbols = reinterpret_cast<const Elf64_Sym*>(image.data() + section.sh_offset);
      for (std::size_t s = 1; s < section.sh_size / sizeof(Elf64_Sym); ++s)
        if (symbols[s].st_shndx != SHN_UNDEF) result.defined.insert(symbol_name(section, s));
    } else if (section.sh_type == SHT_RELA) {
      const auto* relocations = reinterpret_cast<const Elf64_Rela*>(image.data() + section.sh_offset);
      for (std::size_t r = 0; r < section.sh_size / sizeof(Elf64_Rela); ++r) {
        const std::size_t symbol = ELF64_R_SYM(relocations[r].r_info);
        if (symbol != 0) result.relocated.insert(symbol_name(sections[section.sh_link], symbol));
      }
    }
  }
  return result;
}

TEST(SymbolScopeTest, ThePrinterLibraryBindsItsOwnEntryPointsInsideItself) {
  const DynamicSymbols printer = ReadDynamicSymbols(test_support::bin_directory() + "/BemaFI32.so");
  const DynamicSymbols driver = ReadDynamicSymbols(test_support::bin_directory() + "/Kvr00102.so");
  for (const std::string& name : SlotNames()) {
    // The clash is real: both export the name...
    EXPECT_TRUE(driver.defined.count(name)) << name;
    // ...but no call or address of the printer library is left for the loader to bind.
    EXPECT_FALSE(printer.relocated.count(name)) << name;
  }
}

using GlobalDriverTest = DriverTest;

TEST_F(GlobalDriverTest, APrinterWorksWhileTheDriversSameNamedVariablesAreGlobal) {
  // Promote the driver's symbols to the global scope, the worst case a host can create.
  void* global = dlopen(driver.path().c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_GLOBAL);
  ASSERT_NE(global, nullptr);
  // The default-scope lookup runs in a forked child: made by the program, it
  // would pin the driver in this process for good (the loader never unloads an
  // object the program looked up that way), and later tests unload it.
  const test_support::ChildEnd lookup = test_support::run_child({}, [&](const test_support::Report& report) {
    const void* found = dlsym(RTLD_DEFAULT, "Bematech_FI_RetornoImpresora");
    report.line(found == driver.find("Bematech_FI_RetornoImpresora") ? "driver" : "other");
  });
  EXPECT_EQ(lookup.exit_code, 0);
  EXPECT_THAT(lookup.lines, ::testing::ElementsAre("driver")) << "the driver's symbol is the global one";
  ASSERT_TRUE(Start());
  // Each of these makes the printer read its own status and state internally.
  EXPECT_TRUE(KVR(driver, Estado_Imp)("001", false, false));
  hostrt::Variant record = StartParams();
  EXPECT_TRUE(KVR(driver, Carrega_Dados_Impressora)(record));
  EXPECT_TRUE(KVR(driver, AnalisaRetorno)("001", 1, true, true, true));
  EXPECT_TRUE(host->dialogs.empty());
  dlclose(global);
}

}  // namespace
}  // namespace driver_test

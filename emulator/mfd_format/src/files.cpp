// Whole download files on disk.
#include <platform/files.h>

#include "mfd_format/mfd_format.h"

namespace mfd {

void write_file(const std::string& path, const Download& download) {
  platform::write_file_atomic(path, serialize(download));
}

Download read_file(const std::string& path) {
  return parse(platform::read_file(path));
}

}  // namespace mfd

// The MFD tools library's entry points.
#include <platform/files.h>
#include <platform/paths.h>
#include <vendor_api/guarded.h>

#include "bemamfd2/bemamfd2.h"
#include "date_argument.h"
#include "fixed_record.h"
#include "mfd_format/mfd_format.h"
#include "mfd_format/mirror_text.h"
#include "type_e_file.h"
#include "platform/numbers.h"

namespace {

constexpr int kOk = 1;
constexpr int kFileError = 0;
constexpr int kBadArgument = -1;
constexpr int kDamagedDownload = -2;
constexpr int kNothingInRange = -3;
constexpr int kOtherUser = -4;
constexpr int kFieldOverflow = -5;

// Reads the download and runs body with it, turning every failure into its
// result code: nothing is written unless body finishes.
template <class Body>
int with_download(const char* mfd_file, Body&& body) {
  return vendor_api::guarded(kFileError, [&] {
    mfd::Download download;
    try {
      download = mfd::read_file(platform::native_path(mfd_file));
    } catch (const mfd::FormatError&) {
      return kDamagedDownload;
    }
    try {
      return body(download);
    } catch (const bemamfd2::FieldOverflow&) {
      return kFieldOverflow;
    }
  });
}

std::string zero_filled(int coo) {
  std::string digits = platform::to_text(coo);
  return std::string(digits.size() < 6 ? 6 - digits.size() : 0, '0') + digits;
}

std::string text_or_empty(const char* text) { return text ? text : ""; }

}  // namespace

extern "C" {

VENDOR_EXPORT int VENDOR_CALL BemaGeraTxtPorCOO(const char* mfd_file, const char* text_file, int user_number,
                                                int first_coo, int last_coo) {
  if (!mfd_file || !text_file || user_number < 1 || first_coo < 0 || last_coo < first_coo) return kBadArgument;
  return with_download(mfd_file, [&](const mfd::Download& download) {
    if (download.ecf.user_number != user_number) return kOtherUser;
    std::vector<const mfd::Document*> documents;
    for (const mfd::Document& doc : download.documents)
      if (doc.coo >= first_coo && doc.coo <= last_coo) documents.push_back(&doc);
    if (documents.empty()) return kNothingInRange;
    const std::string range_line = "COO: " + zero_filled(first_coo) + " A " + zero_filled(last_coo);
    platform::write_file_atomic(platform::native_path(text_file), mfd::mirror_text(download.ecf, range_line, documents));
    return kOk;
  });
}

VENDOR_EXPORT int VENDOR_CALL BemaGeraRegistrosTipoE(
    const char* mfd_file, const char* output_file, const char* start_date, const char* end_date,
    const char* legal_name, const char* address, const char* /*reserved*/, const char* command,
    const char* /*reserved1*/, const char* /*reserved2*/, const char* /*reserved3*/, const char* /*reserved4*/,
    const char* /*reserved5*/, const char* /*reserved6*/, const char* /*reserved7*/, const char* /*reserved8*/,
    const char* /*reserved9*/, const char* /*reserved10*/, const char* /*reserved11*/, const char* /*reserved12*/,
    const char* /*reserved13*/) {
  if (!mfd_file || !output_file || !start_date || !end_date) return kBadArgument;
  auto start = bemamfd2::parse_date_argument(start_date);
  auto end = bemamfd2::parse_date_argument(end_date);
  if (!start || !end || *end < *start) return kBadArgument;
  const bemamfd2::TypeERequest request{*start, *end, text_or_empty(legal_name), text_or_empty(address),
                                       text_or_empty(command)};
  return with_download(mfd_file, [&](const mfd::Download& download) {
    platform::write_file_atomic(platform::native_path(output_file), bemamfd2::type_e_file(download, request));
    return kOk;
  });
}

}  // extern "C"

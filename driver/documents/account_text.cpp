#include "documents/account_text.h"

#include "documents/document_builder.h"

namespace kvr {

std::string Copy48(std::string_view text) { return std::string(text.substr(0, kDocumentWidth)); }

}  // namespace kvr

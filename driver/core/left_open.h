// Closing what an interrupted run, or a client that went away, left open on
// the printer.
#pragma once
#include <string>

namespace kvr {

// Closes a linked receipt or a management report, and cancels a coupon when
// it is the only thing open, refreshing the host's grand-total record with
// this branch, till and printer serial.
void CloseLeftOpenDocuments(const std::string& branch, const std::string& till, const std::string& serial,
                            const std::string& colour);

// The same with the branch, till, serial and colour scheme of the last start.
void CloseLeftOpenDocuments();

}  // namespace kvr

// An EAD check made here, apart from the signing library: the MD5 of the file
// up to the line break before the EAD record, against the record raised to
// the public exponent with the public key's modulus.
#pragma once
#include <string>

namespace paf_test {

// True when the file ends in an EAD record that the public key confirms.
bool EadHolds(const std::string& path, const std::string& public_key_hex);

}  // namespace paf_test

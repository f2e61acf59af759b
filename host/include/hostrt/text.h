#pragma once
// The host library's text helpers. All text is Latin-1; a column is a byte.
#include <string>
#include <string_view>

#include "hostrt/variant.h"

namespace hostrt {

std::string Replicate(std::string_view text, int count);
std::string TamFixo(std::string_view text, int width);    // left-aligned, cut or blank-padded to exactly width
std::string TamFixoR(std::string_view text, int width);   // right-aligned, cut (first width kept) or blank-padded to exactly width
std::string PadL(std::string_view text, int width, char fill = ' ');  // padded on the left up to width (never cut)
std::string PadR(std::string_view text, int width, char fill = ' ');  // padded on the right up to width (never cut)
// Centred in exactly width columns; a longer text keeps its first width
// characters; when the free columns are odd, the extra blank goes on the right.
std::string Centraliza(std::string_view text, int width);
std::string RTrim(std::string_view text);
std::string Trim(std::string_view text);
std::string Ajusta(std::string_view text, int width);     // right-aligned in width, zero-filled, cut on the left
bool EmptyString(std::string_view text);                   // empty or only blanks
std::string UpperCase(std::string_view text);              // Latin-1 aware
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);    // equal regardless of letter case (Latin-1)

template <typename T>
T iif(bool condition, T when_true, T when_false) { return condition ? when_true : when_false; }
inline std::string iif(bool condition, const char* when_true, const char* when_false) {
  return condition ? when_true : when_false;
}

// These work in decimal on the value's 15-significant-digit text, so binary
// floating error never moves a cent.
double RoundDec(double value, int decimals);  // half away from zero: 1.005 gives 1.01
double Trunc2(double value);                  // toward zero: 1.15 stays 1.15; 12.349 becomes 12.34
double Trunc3(double value);
std::string AjustaZero(std::string_view text, int width);  // left-padded with zeros to width

// Difference a - b as "hh:nn" (hours may exceed 24, at least two digits),
// with a leading "-" when negative; seconds are dropped (15:59 gives "00:15").
std::string SubtDataHoraUlm(DateTime a, DateTime b);

// Waits on a steady clock (never the host's fixable clock), letting the host
// process its pending messages at least once.
void Delay(int milliseconds);

}  // namespace hostrt

#include "core/paper_figures.h"

#include "hostrt/text.h"

namespace kvr {

std::string FigureRight(std::string_view figure, int width) { return hostrt::PadL(figure, width); }

std::string FigureLeft(std::string_view figure, int width) { return hostrt::PadR(figure, width); }

double Cents(double amount) { return hostrt::RoundDec(amount, 2); }

}  // namespace kvr

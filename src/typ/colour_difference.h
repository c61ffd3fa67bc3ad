#pragma once
#include "platform/colour.h"

namespace zw {

// A colour in CIE L*a*b*.
struct Lab {
  double l = 0, a = 0, b = 0;
};
Lab lab_of(Colour c);

double ciede2000(Lab x, Lab y);
// The CIEDE2000 colour difference of two sRGB colours (D65): about 1 is the
// smallest difference a person notices side by side.
double ciede2000(Colour a, Colour b);

}  // namespace zw

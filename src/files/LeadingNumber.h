#pragma once

#include <QByteArrayView>

// The decimal number at the start of text, as a lenient number reader takes
// it: leading spaces skipped, then an optional sign, digits with an optional
// decimal point, and an optional exponent ("6e2" is 600). Reading stops at the
// first byte that does not fit; 0 when text does not begin with a number.
double leadingNumber(QByteArrayView text);

#pragma once

#include "engine/types.h"

// The number parsers of the OBJ reader, also used for COLLADA element lists.
// Both take at most `length` characters and report "No number found\n" (and
// parseFloat "Error reading fractional part\n") on standard output, giving 0.

// Digits, '-', '+' and '.' are taken from the front; an 'e' or 'E' once a
// digit was taken starts an exponent (an optional sign, then digits: 1.5e-05,
// 2E3, 1.e5). What was taken that is a decimal as strtof reads one (a sign
// only in front, at most one point: 2., .5, -.5, +1, 2.5E-3) has strtof's
// value, bit for bit. Anything else (1-3, 1.2.3) is read digit by digit: any
// '-' before the exponent makes the number negative, a second '.' restarts
// the count of fraction digits, a '.' without a digit after the last one is
// the bad fraction, and the value is formed in double precision, then rounded.
f32 parseFloat(const char* digits, i32 length);

// Digits and '-' are read; any '-' makes the number negative. Values beyond
// the range of i32 are held at its limit.
i32 parseInt(const char* digits, i32 length);

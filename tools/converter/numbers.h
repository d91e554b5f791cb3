#pragma once

#include "engine/types.h"

// The number parsers of the OBJ reader, also used for COLLADA element lists.
// Both take at most `length` characters and report "No number found\n" (and
// parseFloat "Error reading fractional part\n") on standard output, giving 0.

// Digits, '-', '+' and '.' are read; any '-' before the exponent makes the
// number negative. An 'e' or 'E' after a digit starts an exponent (an optional
// sign, then digits: 1.5e-05, 2E3). The value is formed in double precision,
// then rounded.
f32 parseFloat(const char* digits, i32 length);

// Digits and '-' are read; any '-' makes the number negative. Values beyond
// the range of i32 are held at its limit.
i32 parseInt(const char* digits, i32 length);

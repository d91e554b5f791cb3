#pragma once

#include "canvas.h"

constexpr int kPhoneWidth = 402;
constexpr int kPhoneHeight = 741;

Canvas DrawPhone();

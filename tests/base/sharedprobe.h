#pragma once

#include <string>

// A shared library made on the base target, the way the mail bridge is: it links only when the
// base is position-independent code.
__attribute__((visibility("default"))) std::string probeFixedDateText(int year, int month, int day);

// A screen reader names an edit field after the static text that precedes
// it in the template; in the main dialog's template the labels of the binary
// and the path fields come after their fields, so each field is given the
// text that stands above it instead.
#pragma once

#include <windows.h>

// Names the decimal, binary and path fields of the main dialog by their labels.
void NameFieldsByTheirLabels(HWND dialog);

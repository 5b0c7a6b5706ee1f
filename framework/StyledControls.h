// The window classes "MfcButton" and "MfcLink" that the dialog template names.
#pragma once

#include <windows.h>

// Registers both classes; called once before any dialog is created.
void RegisterStyledControlClasses(HINSTANCE instance);

// Makes the fonts of the dialog's links again at its new DPI.
void ScaleLinksToDpi(HWND dialog, UINT dpi);

// How the client meets the ways a user or Windows can end it while a request
// runs. Ctrl+C and Ctrl+Break are held back: the request ends by itself
// within moments. Closing the console, logging off and shutting down end the
// process as soon as their handler returns, and a few seconds later in any
// case: the handler waits, no longer than the system allows, until the
// request has put back what it changed, and the request withdraws itself
// meanwhile when Numvera.exe does not hold it (Request.cpp).
#pragma once

// From here on until the process ends.
void HoldEndings();

// Whether the console is being closed or the session ends: nobody is left
// to answer Numvera.exe's messages.
bool IsEndingAsked();

// Everything is put back: a waiting ending may go on.
void SignalPutBack();

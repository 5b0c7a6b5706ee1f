// The resource type that holds a dialog's initial control properties, and
// the message that hands each property to its control: the resource script
// writes them, the framework reads them. Macros only, for the resource
// compiler.
#pragma once

#define NUMVERA_RT_DLGINIT 240
#define NUMVERA_WM_INIT_CONTROL 0x037C

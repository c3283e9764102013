// The start routine: runtime initialisation, the globals, the start window and the message
// loop. Returns the quit message's code when the loop ends.
#pragma once
#include <windows.h>

#include "ui/window_definition.h"

int start_routine(HINSTANCE instance, const window_definition& definition, const form_handlers& handlers);

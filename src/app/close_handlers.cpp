#include "app/close_handlers.h"

#include "app/shutdown.h"

void on_close_mark_released(int, int, int) { end_program(0); }

void on_close_button_clicked() { end_program(0); }

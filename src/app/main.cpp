// The program's entry: start-up, the message loop and the orderly end.
#include <windows.h>

#include "app/close_handlers.h"
#include "app/shutdown.h"
#include "app/start.h"
#include "install/folder_chooser.h"
#include "install/install_location.h"
#include "install/install_worker.h"
#include "install/progress_handler.h"

namespace {

const form_handlers installer_handlers{
    on_window_created, on_close_mark_released, on_install_clicked, on_directory_pressed,
    on_close_button_clicked, progress_handler,
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // A drive without a medium then fails quietly instead of raising a system error box.
    SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    end_program(start_routine(instance, installer_window_definition(), installer_handlers));
}

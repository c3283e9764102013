#include "app/fatal_error.h"

#include <windows.h>

#include "app/shutdown.h"

text runtime_error_box_text(int code, const text& message) {
    text box = "运行时出错!\r\n\r\n";
    if (code != 0) box += "错误代码：" + decimal_text(code) + "\r\n\r\n";
    if (!message.empty()) box += "错误信息：" + message + "\r\n";
    return box;
}

void fatal_runtime_error(int code, const text& message) {
    MessageBoxA(nullptr, runtime_error_box_text(code, message).c_str(), "错误", MB_ICONERROR);
    unregister_release_routine();
    end_program(-1);
}

#include "install/progress_handler.h"

#include <windows.h>

#include "app/globals.h"
#include "app/shutdown.h"
#include "install/install_worker.h"
#include "payload/embedded.h"
#include "runtime/system.h"
#include "ui/properties.h"
#include "ui/zip_control.h"

namespace {

const char completion_question[] = "安装完成！\r\n点<是>将启动软件\r\n点<否>不启动,可以在桌面启动软件";

text program_path() { return caption("标签_安装目录") + "\\" + product_name + ".exe"; }

// The program's path quoted, so that a directory with spaces cannot name another program.
text quoted(const text& path) { return "\"" + path + "\""; }

}  // namespace

int32_t progress_bar_position(int maximum, int percent) {
    const double scaled = static_cast<double>(maximum) / 100.0 * static_cast<double>(percent);
    return static_cast<int32_t>(static_cast<int64_t>(scaled));
}

void complete_installation() {
    const byte_set_view finish = byte_set_bytes(finish_picture);
    set_normal_picture("图形按钮1", finish.data, finish.size);
    set_hot_picture("图形按钮1", finish.data, finish.size);
    const text link_path = special_folder(desktop_folder) + product_name;
    const bool linked = create_shortcut(link_path, program_path());
    set_caption("标签_日志", linked ? "3.创建快捷方式..成功" : "3.创建快捷方式..失败");
    if (message_box(completion_question, MB_YESNO | MB_ICONINFORMATION, "温馨提示：") == 5)
        run_program(quoted(program_path()));
    set_visible("进度条1", false);
    delete_staging_archive();
    end_program(0);
}

void progress_handler(int percent) {
    set_progress_position("进度条1", percent);
    set_progress_position("进度条1", progress_bar_position(progress_maximum("进度条1"), percent));
    if (percent != 100) return;
    // A failed extraction still ends with 100; the worker reports it when the call returns.
    const zip_control* zip = find_zip_control("ZIP压缩1");
    if (zip && zip->extraction_failed()) return;
    complete_installation();
}

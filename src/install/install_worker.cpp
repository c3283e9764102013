#include "install/install_worker.h"

#include <windows.h>

#include "app/shutdown.h"
#include "payload/embedded.h"
#include "runtime/handles.h"
#include "runtime/system.h"
#include "ui/properties.h"
#include "ui/zip_control.h"

namespace {

const char notice_text[] =
    "由于系列正版软件都作了加壳加密处理\r\n如果部分杀毒软件提示警告，请允许即可！\r\n\r\n"
    "软件干净无毒无木马~~支持正版 谢谢大家\r\n"
    "软件安装好后，建议把安装的软件目录加入杀毒软件信任，再运行软件，以免影响部分功能使用。\r\n"
    "可以阅读软件安装说明";
const char write_failed_text[] =
    "写入失败！Windows7请以管理员身份运行，建议关闭杀毒，再重试\r\n《确定》后将关闭本安装程序";
const char extraction_failed_text[] =
    "安装失败！部分文件未能写入安装目录。\r\n请关闭正在运行的该软件，或选择其他安装目录后重试。";

// Set on the main thread when a worker is started, cleared by that worker as it ends.
volatile LONG worker_running = 0;
// The staging archive that the running worker wrote; only it may be deleted on failure.
text written_staging_path;

bool write_payload(const text& path, bool may_replace) {
    const byte_set_view payload = byte_set_bytes(payload_archive);
    return may_replace ? write_to_file(path, payload.data, payload.size)
                       : write_new_file(path, payload.data, payload.size);
}

// Writes the staging archive: the temporary folder first, else the install drive's root
// (never over a file already there). The path written, or "" when both failed.
text stage_payload() {
    const text in_temp = staging_path_in_temp(special_folder(temporary_folder));
    if (write_payload(in_temp, true)) return in_temp;
    const text on_drive = staging_path_on_install_drive(caption("标签_安装目录"));
    if (write_payload(on_drive, false)) return on_drive;
    return text();
}

}  // namespace

text staging_path_in_temp(const text& temp_folder) { return temp_folder + "\\tool.zip"; }

text staging_path_on_install_drive(const text& install_directory) {
    return left_text(install_directory, 1) + ":\\tool.zip";
}

bool install_running() { return worker_running != 0; }

void on_install_clicked() {
    if (install_running()) return;
    message_box(notice_text, 0);
    // A click that arrived while the notice was open has been ignored above; this one starts.
    if (InterlockedExchange(&worker_running, 1) != 0) return;
    if (!start_thread(install_worker)) InterlockedExchange(&worker_running, 0);
}

void delete_staging_archive() {
    if (!written_staging_path.empty()) delete_file(written_staging_path);
}

void report_failed_extraction() {
    set_visible("进度条1", false);
    set_caption("标签_日志", "2.解压失败");
    delete_staging_archive();
    message_box(extraction_failed_text, MB_ICONERROR);
}

void install_worker() {
    {
        com_apartment com;
        set_caption("标签_日志", "1.释放压缩包..");
        written_staging_path = stage_payload();
        if (written_staging_path.empty()) {
            message_box(write_failed_text, 0);
            end_program(0);
        }
        set_visible("进度条1", true);
        set_caption("标签_日志", "2.开始解压..");
        const text install_directory = caption("标签_安装目录");
        zip_control* zip = find_zip_control("ZIP压缩1");
        if (zip) zip->extract_archive(written_staging_path.c_str(), install_directory.c_str());
        // A successful extraction ends the process in its final event: coming back here
        // means the installation did not complete.
        report_failed_extraction();
    }
    written_staging_path.clear();
    InterlockedExchange(&worker_running, 0);
}

// The whole road of one installation, driven through the window as a user would: the
// notice, the staging archive, the extraction, the shortcut, the question, the start of the
// product, the clean-up, and the roads where something fails.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <zlib.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

#include "driver.h"
#include "runtime/handles.h"

extern "C" {
#include <unzip.h>
}

namespace {

const std::string installer = driver::windows_path(INSTALLER_EXE);
const std::string installer_folder = installer.substr(0, installer.rfind('\\'));
constexpr DWORD wait_ms = 20000;

const char install_directory[] = "C:\\Lumvex软件\\Lumvex工具14";
const char main_program[] = "C:\\Lumvex软件\\Lumvex工具14\\Lumvex工具14.exe";
const char drive_root_staging[] = "C:\\tool.zip";

const char notice_text[] =
    "由于系列正版软件都作了加壳加密处理\r\n如果部分杀毒软件提示警告，请允许即可！\r\n\r\n"
    "软件干净无毒无木马~~支持正版 谢谢大家\r\n"
    "软件安装好后，建议把安装的软件目录加入杀毒软件信任，再运行软件，以免影响部分功能使用。\r\n"
    "可以阅读软件安装说明";
const char question_text[] = "安装完成！\r\n点<是>将启动软件\r\n点<否>不启动,可以在桌面启动软件";

std::string temp_staging() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "tool.zip";
}

std::string desktop_link() {
    char desktop[MAX_PATH];
    SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    return std::string(desktop) + "\\Lumvex工具14.lnk";
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct zip_entry {
    uint32_t crc;
    uint32_t size;
    uint32_t dos_date;
};

// The payload's entries as its central directory lists them.
std::map<std::string, zip_entry> payload_entries() {
    std::map<std::string, zip_entry> entries;
    unzFile zip = unzOpen(driver::windows_path(DEMO_PAYLOAD_ZIP).c_str());
    for (int at = unzGoToFirstFile(zip); zip && at == UNZ_OK; at = unzGoToNextFile(zip)) {
        char name[260];
        unz_file_info info;
        unzGetCurrentFileInfo(zip, &info, name, sizeof(name), nullptr, 0, nullptr, 0);
        entries[name] = {static_cast<uint32_t>(info.crc), static_cast<uint32_t>(info.uncompressed_size),
                         static_cast<uint32_t>(info.dosDate)};
    }
    if (zip) unzClose(zip);
    return entries;
}

// The show command as the link file stores it (Wine's reader folds every value but 3 and 7
// into SW_SHOWNORMAL, so the header field is read directly).
uint32_t stored_show_command(const std::string& link_path) {
    const std::string bytes = read_bytes(link_path);
    uint32_t value = 0;
    if (bytes.size() >= 0x40) std::memcpy(&value, bytes.data() + 0x3C, sizeof(value));
    return value;
}

std::string link_target(const std::string& link_path) {
    com_ptr<IShellLinkA> link;
    com_ptr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())))
        return "";
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link_path.c_str(), -1, wide, MAX_PATH);
    if (FAILED(file->Load(wide, STGM_READ))) return "";
    char target[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    return target;
}

class installation : public testing::Test {
protected:
    void SetUp() override {
        // No drive D: so the default directory is on C:, and nothing left from earlier runs.
        driver::shell("rm -f \"$WINEPREFIX/dosdevices/d:\"");
        clean();
    }
    void TearDown() override {
        app.reset();
        clean();
    }
    static void clean() {
        driver::remove_tree("C:\\Lumvex软件");
        DeleteFileA(desktop_link().c_str());
        RemoveDirectoryA(temp_staging().c_str());
        DeleteFileA(temp_staging().c_str());
        SetFileAttributesA(drive_root_staging, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(drive_root_staging);
    }

    // Starts the installer and presses its install button; the window's handle.
    HWND start_and_click_install() {
        app = std::make_unique<driver::process>(installer);
        window = driver::wait_for_window(app->id(), "LumvexForm", wait_ms);
        if (!window) return nullptr;
        click_install();
        return window;
    }
    void click_install() {
        const std::vector<HWND> buttons = driver::find_descendants(window, "LumvexPictureButton");
        if (!buttons.empty()) driver::user_click(buttons.front(), 100, 40);
    }
    // Confirms the notice box after checking its text.
    void confirm_notice() {
        const auto notice = driver::wait_for_message_box(app->id(), wait_ms);
        ASSERT_TRUE(notice) << "no notice box";
        EXPECT_EQ(notice->title, "信息：");
        EXPECT_EQ(notice->text, notice_text);
        EXPECT_FALSE(IsWindowEnabled(window)) << "the notice box is task-modal on the main thread";
        driver::press(*notice, IDOK);
    }
    std::string status() const { return driver::window_text(status_line()); }
    HWND status_line() const {
        const std::vector<driver::window_info> panels = driver::children(window);
        return panels.size() > 1 ? driver::children(panels[1].window)[0].window : nullptr;
    }
    HWND progress_bar() const { return driver::find_descendants(window, "msctls_progress32").front(); }

    // Waits for the completion question and checks what the window shows meanwhile.
    driver::message_box completion_question() {
        auto question = driver::wait_for_message_box(app->id(), wait_ms);
        EXPECT_TRUE(question) << "no completion question";
        if (!question) return {};
        EXPECT_EQ(question->title, "温馨提示：");
        EXPECT_EQ(question->text, question_text);
        EXPECT_NE(GetDlgItem(question->window, IDYES), nullptr);
        EXPECT_NE(GetDlgItem(question->window, IDNO), nullptr);
        EXPECT_TRUE(IsWindowEnabled(window)) << "the worker's boxes leave the window usable";
        EXPECT_EQ(status(), "3.创建快捷方式..成功");
        EXPECT_TRUE(IsWindowVisible(progress_bar()));
        EXPECT_EQ(SendMessageA(progress_bar(), PBM_GETPOS, 0, 0), 100);
        return *question;
    }

    void expect_installed_files() {
        const auto entries = payload_entries();
        ASSERT_EQ(entries.size(), 2u);
        for (const auto& [name, entry] : entries) {
            const std::string path = std::string(install_directory) + "\\" + name;
            const std::string bytes = read_bytes(path);
            EXPECT_EQ(bytes.size(), entry.size) << name;
            EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())),
                      entry.crc)
                << name;
            // No read-only, hidden or system bit is left (Wine reports every plain file as archive).
            const DWORD attributes = GetFileAttributesA(path.c_str());
            EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u) << name;
            FILETIME expected{}, written{};
            DosDateTimeToFileTime(HIWORD(entry.dos_date), LOWORD(entry.dos_date), &expected);
            scoped_file file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            GetFileTime(file.get(), nullptr, nullptr, &written);
            EXPECT_EQ(CompareFileTime(&expected, &written), 0) << name << ": the MS-DOS time, taken as UTC";
        }
        EXPECT_EQ(link_target(desktop_link()), main_program);
        EXPECT_EQ(stored_show_command(desktop_link()), static_cast<uint32_t>(SW_SHOW));
    }

    com_apartment com;
    std::unique_ptr<driver::process> app;
    HWND window = nullptr;
};

TEST_F(installation, answer_no_installs_links_cleans_up_and_exits_0) {
    ASSERT_TRUE(start_and_click_install());
    confirm_notice();
    // The status line steps through the road in order.
    const char* const road[] = {"1.释放压缩包..", "2.开始解压..", "3.创建快捷方式..成功"};
    size_t reached = 0;
    driver::wait_until(
        [&] {
            const std::string now = status();
            for (size_t i = reached; i < std::size(road); ++i)
                if (now == road[i]) reached = i;
            return reached == std::size(road) - 1;
        },
        wait_ms);
    const driver::message_box question = completion_question();
    ASSERT_TRUE(question.window);
    driver::screenshot("completion_question");
    EXPECT_FALSE(exists(drive_root_staging)) << "staged in the temporary folder";
    expect_installed_files();
    driver::press(question, IDNO);
    EXPECT_EQ(app->wait_exit(wait_ms), 0u);
    EXPECT_FALSE(exists(temp_staging())) << "the staging archive is deleted";
    Sleep(500);
    EXPECT_EQ(FindWindowA("LumvexDemoProduct", nullptr), nullptr) << "nothing was started";
}

TEST_F(installation, answer_yes_starts_the_product_in_the_installers_folder) {
    ASSERT_TRUE(start_and_click_install());
    confirm_notice();
    const driver::message_box question = completion_question();
    ASSERT_TRUE(question.window);
    driver::press(question, IDYES);
    EXPECT_EQ(app->wait_exit(wait_ms), 0u);
    EXPECT_FALSE(exists(temp_staging()));
    HWND product = nullptr;
    driver::wait_until([&] { return (product = FindWindowA("LumvexDemoProduct", "Lumvex工具14")) != nullptr; },
                       wait_ms);
    ASSERT_NE(product, nullptr) << "the installed program did not start";
    const std::vector<driver::window_info> lines = driver::children(product);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].text, installer_folder) << "the product's working directory";
    DWORD product_pid = 0;
    GetWindowThreadProcessId(product, &product_pid);
    PostMessageA(product, WM_CLOSE, 0, 0);
    scoped_kernel_handle product_process(OpenProcess(SYNCHRONIZE, FALSE, product_pid));
    WaitForSingleObject(product_process.get(), 5000);
}

TEST_F(installation, staging_falls_back_to_the_install_drive_root) {
    // A folder named tool.zip in the temporary folder makes the first write fail.
    ASSERT_TRUE(CreateDirectoryA(temp_staging().c_str(), nullptr));
    ASSERT_TRUE(start_and_click_install());
    confirm_notice();
    const driver::message_box question = completion_question();
    ASSERT_TRUE(question.window);
    EXPECT_TRUE(exists(drive_root_staging)) << "staged at the root of the install drive";
    expect_installed_files();
    driver::press(question, IDNO);
    EXPECT_EQ(app->wait_exit(wait_ms), 0u);
    EXPECT_FALSE(exists(drive_root_staging)) << "the fallback staging archive is deleted";
    EXPECT_TRUE(GetFileAttributesA(temp_staging().c_str()) & FILE_ATTRIBUTE_DIRECTORY) << "the folder is not ours";
}

TEST_F(installation, both_writes_failing_shows_the_failure_box_and_keeps_foreign_files) {
    ASSERT_TRUE(CreateDirectoryA(temp_staging().c_str(), nullptr));
    {
        std::ofstream foreign(drive_root_staging, std::ios::binary);
        foreign << "not ours";
    }
    ASSERT_TRUE(start_and_click_install());
    confirm_notice();
    const auto box = driver::wait_for_message_box(app->id(), wait_ms);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->title, "信息：");
    EXPECT_EQ(box->text, "写入失败！Windows7请以管理员身份运行，建议关闭杀毒，再重试\r\n《确定》后将关闭本安装程序");
    EXPECT_EQ(status(), "1.释放压缩包..");
    driver::press(*box, IDOK);
    EXPECT_EQ(app->wait_exit(wait_ms), 0u);
    EXPECT_EQ(read_bytes(drive_root_staging), "not ours") << "an existing tool.zip is never overwritten";
    EXPECT_FALSE(exists(install_directory));
}

TEST_F(installation, failed_extraction_is_reported_and_a_retry_succeeds) {
    ASSERT_TRUE(CreateDirectoryA("C:\\Lumvex软件", nullptr));
    ASSERT_TRUE(CreateDirectoryA(install_directory, nullptr));
    // The product's main program held open without sharing, as if it were running.
    scoped_file held(CreateFileA(main_program, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(held);
    ASSERT_TRUE(start_and_click_install());
    confirm_notice();
    const auto failure = driver::wait_for_message_box(app->id(), wait_ms);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->title, "信息：");
    EXPECT_EQ(failure->text, "安装失败！部分文件未能写入安装目录。\r\n请关闭正在运行的该软件，或选择其他安装目录后重试。");
    EXPECT_EQ(status(), "2.解压失败");
    EXPECT_FALSE(IsWindowVisible(progress_bar()));
    EXPECT_FALSE(exists(desktop_link())) << "no shortcut to a failed installation";
    EXPECT_FALSE(exists(temp_staging())) << "the staging archive is deleted";
    driver::screenshot("extraction_failed");
    driver::press(*failure, IDOK);
    EXPECT_FALSE(driver::wait_for_message_box(app->id(), 1000)) << "no completion question after a failure";
    EXPECT_TRUE(app->running()) << "the window stays open for a retry";

    held.reset();
    click_install();
    confirm_notice();
    const driver::message_box question = completion_question();
    ASSERT_TRUE(question.window);
    expect_installed_files();
    driver::press(question, IDNO);
    EXPECT_EQ(app->wait_exit(wait_ms), 0u);
}

TEST_F(installation, close_mark_during_the_question_ends_at_once_with_0) {
    ASSERT_TRUE(start_and_click_install());
    confirm_notice();
    const driver::message_box question = completion_question();
    ASSERT_TRUE(question.window);
    HWND close_mark = driver::find_descendant(window, "LumvexLabel", "×");
    ASSERT_NE(close_mark, nullptr);
    driver::click(close_mark, 5, 5);
    EXPECT_EQ(app->wait_exit(wait_ms), 0u);
    EXPECT_TRUE(exists(desktop_link())) << "the shortcut was made before the question";
    EXPECT_TRUE(exists(temp_staging())) << "nothing is tidied up by the close mark";
}

TEST_F(installation, a_double_click_starts_one_worker) {
    ASSERT_TRUE(start_and_click_install());
    click_install();  // arrives while the notice is open
    confirm_notice();
    click_install();  // arrives while the worker runs or asks its question
    const driver::message_box question = completion_question();
    ASSERT_TRUE(question.window);
    driver::press(question, IDNO);
    EXPECT_EQ(app->wait_exit(wait_ms), 0u);
    EXPECT_FALSE(exists(temp_staging()));
}

}  // namespace

// The default install directory that the installer shows on start: drive D: when it has room,
// else drive C:, followed by the company folder and the product name.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

const std::string installer = driver::windows_path(INSTALLER_EXE);
constexpr DWORD wait_ms = 15000;

// Drive D: of the Wine prefix, a link in its dosdevices folder. The test's own state replaces
// whatever D: the prefix had, which comes back at the end.
class drive_d {
public:
    drive_d() {
        driver::shell("if [ -L " + link_ + " ] || [ -e " + link_ + " ]; then mv " + link_ + " " + saved_ + "; fi");
    }
    ~drive_d() {
        driver::shell("rm -f " + link_ + " && if [ -L " + saved_ + " ] || [ -e " + saved_ + " ]; then mv " + saved_ +
                      " " + link_ + "; fi");
    }
    drive_d(const drive_d&) = delete;
    drive_d& operator=(const drive_d&) = delete;

    bool link_to(const std::string& unix_dir) { return driver::shell("ln -sfn '" + unix_dir + "' " + link_) == 0; }

private:
    const std::string link_ = "\"$WINEPREFIX/dosdevices/d:\"";
    const std::string saved_ = "\"$WINEPREFIX/dosdevices/d:.saved-by-location-test\"";
};

// A folder of the host's /tmp, removed at the end.
class host_folder {
public:
    explicit host_folder(const std::string& path) : path_(path) {
        created_ = driver::shell("mkdir '" + path_ + "'") == 0;
    }
    ~host_folder() {
        if (created_) driver::shell("rm -rf '" + path_ + "'");
    }
    host_folder(const host_folder&) = delete;
    host_folder& operator=(const host_folder&) = delete;
    bool created() const { return created_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool created_ = false;
};

// The caption of the install-directory label, the last control of the first panel.
std::string install_directory(HWND window) {
    const std::vector<driver::window_info> panels = driver::children(window);
    if (panels.size() < 2) return "<no first panel>";
    const std::vector<driver::window_info> controls = driver::children(panels[1].window);
    if (controls.empty() || controls.back().class_name != "LumvexLabel") return "<no directory label>";
    return controls.back().text;
}

std::string shown_directory() {
    driver::process app(installer);
    if (!app.started()) return "<not started>";
    HWND window = driver::wait_for_window(app.id(), "LumvexForm", wait_ms);
    if (!window) return "<no window>";
    return install_directory(window);  // the process object kills the installer
}

TEST(default_install_directory, on_c_without_a_drive_d) {
    drive_d d;
    ASSERT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    EXPECT_EQ(shown_directory(), "C:\\Lumvex软件\\Lumvex工具14");
}

TEST(default_install_directory, on_d_when_it_has_1000_free_megabytes) {
    drive_d d;
    const host_folder folder("/tmp/lumvex-drive-d-" + std::to_string(GetCurrentProcessId()));
    ASSERT_TRUE(folder.created());
    ASSERT_TRUE(d.link_to(folder.path()));
    ULARGE_INTEGER total_free{};
    ASSERT_TRUE(GetDiskFreeSpaceExA("D:\\", nullptr, nullptr, &total_free)) << "no drive D: linked to " << folder.path();
    ASSERT_GE(total_free.QuadPart, 1000ull * 1048576) << "the folder behind D: needs 1000 free megabytes";
    EXPECT_EQ(shown_directory(), "D:\\Lumvex软件\\Lumvex工具14");
}

TEST(default_install_directory, on_c_when_drive_d_has_no_free_space) {
    drive_d d;
    ASSERT_TRUE(d.link_to("/proc"));  // a volume without free bytes, like a read-only disc
    ULARGE_INTEGER total_free{};
    ASSERT_TRUE(GetDiskFreeSpaceExA("D:\\", nullptr, nullptr, &total_free)) << "the query must succeed here";
    ASSERT_LT(total_free.QuadPart, 1000ull * 1048576);
    EXPECT_EQ(shown_directory(), "C:\\Lumvex软件\\Lumvex工具14");
}

}  // namespace

// The installer window as the user first sees it, its close mark, the install button's
// click rules, the fatal run-time error and the end of the program from another thread.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

using driver::window_info;

const std::string installer = driver::windows_path(INSTALLER_EXE);
constexpr DWORD wait_ms = 15000;

struct expected_control {
    const char* what;
    const char* class_name;
    const char* text;
    int left, top, width, height;  // within the first panel's client area
    bool visible;
};

// The first panel's controls in stacking order, topmost first.
const expected_control first_panel[] = {
    {"status line", "LumvexLabel", "", 79, 344, 160, 24, true},
    {"close mark", "LumvexLabel", "×", 230, 14, 12, 12, true},
    {"progress bar", "msctls_progress32", "", 21, 327, 205, 8, false},
    {"install button", "LumvexPictureButton", "", 14, 255, 220, 80, true},
    {"directory heading", "LumvexLabel", "安装目录：", 7, 344, 56, 24, true},
    {"title", "LumvexLabel", "安装程序", 7, 8, 68, 24, true},
    {"logo", "LumvexPictureBox", "", 12, 36, 211, 211, true},
    {"install directory", "LumvexLabel", nullptr, 7, 367, 232, 25, true},
};

class installer_window : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started());
        window = driver::wait_for_window(app.id(), "LumvexForm", wait_ms);
        ASSERT_NE(window, nullptr) << "the installer window did not appear";
    }
    driver::process app{installer};
    HWND window = nullptr;
};

TEST_F(installer_window, shows_centred_borderless_at_top_300_with_its_caption) {
    const window_info w = driver::describe(window);
    EXPECT_EQ(w.text, "Lumvex工具12 - 安装程序");
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    EXPECT_EQ(w.screen.left, (screen_width - 250) / 2);
    EXPECT_EQ(w.screen.top, 300);
    EXPECT_EQ(w.screen.right - w.screen.left, 250);
    EXPECT_EQ(w.screen.bottom - w.screen.top, 400);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "shown on the taskbar";
    driver::screenshot("window_shown");
}

TEST_F(installer_window, panels_stack_with_the_first_on_top) {
    const std::vector<window_info> top = driver::children(window);
    ASSERT_EQ(top.size(), 4u);  // hidden icon box and three panels; the timers have no window
    EXPECT_FALSE(top[0].visible) << "the icon picture box starts hidden";
    const int sizes[][2] = {{24, 24}, {250, 400}, {600, 400}, {600, 400}};
    for (size_t i = 0; i < top.size(); ++i) {
        EXPECT_EQ(top[i].class_name, "LumvexPictureBox") << i;
        EXPECT_EQ(top[i].screen.right - top[i].screen.left, sizes[i][0]) << i;
        EXPECT_EQ(top[i].screen.bottom - top[i].screen.top, sizes[i][1]) << i;
    }
    // The window clips the 600-pixel panels: the second panel's close button lies outside it.
    EXPECT_EQ(WindowFromPoint({top[1].screen.left + 240, top[1].screen.top + 5}), top[1].window);
}

TEST_F(installer_window, first_panel_controls_sit_where_the_definition_puts_them) {
    const std::vector<window_info> panels = driver::children(window);
    ASSERT_GE(panels.size(), 2u);
    const window_info& panel = panels[1];
    const std::vector<window_info> controls = driver::children(panel.window);
    ASSERT_EQ(controls.size(), std::size(first_panel));
    // The panel's single-line border insets its client area by one pixel.
    const int origin_x = panel.screen.left + 1, origin_y = panel.screen.top + 1;
    for (size_t i = 0; i < controls.size(); ++i) {
        const expected_control& e = first_panel[i];
        const window_info& c = controls[i];
        EXPECT_EQ(c.class_name, e.class_name) << e.what;
        if (e.text) EXPECT_EQ(c.text, e.text) << e.what;
        EXPECT_EQ(c.screen.left - origin_x, e.left) << e.what;
        EXPECT_EQ(c.screen.top - origin_y, e.top) << e.what;
        EXPECT_EQ(c.screen.right - c.screen.left, e.width) << e.what;
        EXPECT_EQ(c.screen.bottom - c.screen.top, e.height) << e.what;
        EXPECT_EQ(c.visible, e.visible) << e.what;
    }
}

TEST_F(installer_window, close_mark_ends_the_program_with_code_0) {
    HWND close_mark = driver::find_descendant(window, "LumvexLabel", "×");
    ASSERT_NE(close_mark, nullptr);
    driver::mouse_down(close_mark, 5, 5);
    Sleep(200);
    EXPECT_TRUE(app.running()) << "pressing alone does not close";
    driver::mouse_up(close_mark, 5, 5);
    EXPECT_EQ(app.wait_exit(wait_ms), 0u);
}

TEST_F(installer_window, install_button_clicks_only_when_released_inside) {
    const std::vector<HWND> buttons = driver::find_descendants(window, "LumvexPictureButton");
    ASSERT_FALSE(buttons.empty());
    HWND button = buttons.front();
    driver::mouse_down(button, 100, 40);
    PostMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 40));
    driver::mouse_up(button, 300, 40);  // released outside: no click
    EXPECT_FALSE(driver::wait_for_message_box(app.id(), 1000)) << "a release outside raised a click";

    driver::mouse_down(button, 100, 40);
    PostMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 40));
    PostMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 40));
    driver::mouse_up(button, 110, 40);  // out and back in: one click
    const auto notice = driver::wait_for_message_box(app.id(), wait_ms);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->title, "信息：");
}

// The colour on screen at a point of a control's client area.
COLORREF screen_colour(HWND control, int x, int y) {
    POINT at{x, y};
    ClientToScreen(control, &at);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST_F(installer_window, install_button_shows_its_hot_picture_under_the_pointer) {
    HWND button = driver::find_descendants(window, "LumvexPictureButton").front();
    HWND logo = driver::find_descendants(window, "LumvexPictureBox").back();
    POINT away{5, 5};
    ClientToScreen(logo, &away);
    SetCursorPos(away.x, away.y);
    Sleep(300);
    const COLORREF normal = screen_colour(button, 12, 12);  // the field inside the frame
    POINT over{12, 12};
    ClientToScreen(button, &over);
    SetCursorPos(over.x, over.y);
    EXPECT_TRUE(driver::wait_until([&] { return screen_colour(button, 12, 12) != normal; }, 3000))
        << "no hot picture under the pointer";
    const COLORREF hot = screen_colour(button, 12, 12);
    EXPECT_GT(GetRValue(hot) + GetGValue(hot) + GetBValue(hot), GetRValue(normal) + GetGValue(normal) + GetBValue(normal))
        << "the hot picture is the lighter one";
    SetCursorPos(away.x, away.y);
    EXPECT_TRUE(driver::wait_until([&] { return screen_colour(button, 12, 12) == normal; }, 3000))
        << "the normal picture is back once the pointer has left";
}

// A fatal run-time error shows its box before any window, and ends the process with -1.
TEST(fatal_runtime_error, shows_the_box_and_exits_minus_1) {
    const struct {
        const char* what;
        std::string program;
        const char* text;
    } cases[] = {
        {"product list too short for the product index", driver::windows_path(INSTALLER_BRAND_1_EXE),
         "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
        {"a window that cannot be loaded", driver::windows_path(FIXTURE_BAD_WINDOW_EXE),
         "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
    };
    for (const auto& c : cases) {
        driver::process app(c.program);
        const auto box = driver::wait_for_message_box(app.id(), wait_ms);
        ASSERT_TRUE(box) << c.what;
        EXPECT_EQ(box->title, "错误") << c.what;
        EXPECT_EQ(box->text, c.text) << c.what;
        EXPECT_EQ(driver::wait_for_window(app.id(), "LumvexForm", 0), nullptr) << c.what << ": the window was shown";
        if (&c == &cases[0]) driver::screenshot("fatal_error_box");
        driver::press(*box, IDOK);
        EXPECT_EQ(app.wait_exit(wait_ms), 0xFFFFFFFFu) << c.what;
    }
}

TEST(end_program, from_another_thread_while_a_message_box_is_open) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string marker = std::string(temp) + "end_from_thread_released.txt";
    DeleteFileA(marker.c_str());
    driver::process app(driver::windows_path(FIXTURE_END_FROM_THREAD_EXE));
    ASSERT_TRUE(driver::wait_for_message_box(app.id(), wait_ms)) << "the fixture's box did not open";
    EXPECT_EQ(app.wait_exit(wait_ms), 7u) << "the second thread's code ends the process";
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(marker.c_str(), GetFileExInfoStandard, &data)) << "release routine did not run";
    EXPECT_EQ(data.nFileSizeLow, 1u) << "the release routine ran more than once";
    DeleteFileA(marker.c_str());
}

}  // namespace

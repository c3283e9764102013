#include "ui/window_definition.h"

#include "payload/embedded.h"
#include "ui/pictures.h"

namespace {

constexpr rgb window_blue{117, 184, 238};
constexpr rgb panel_blue{22, 131, 196};
constexpr rgb white{255, 255, 255};
constexpr rgb yellow{255, 255, 0};
constexpr rgb none{0, 0, 0};

constexpr font_settings title_font{12, 700, false};
constexpr font_settings directory_font{12, 400, true};

const window_settings installer_window{"Lumvex工具12 - 安装程序", 50, 50, 250, 400, window_blue};

picture_bytes finish_picture_bytes() {
    const byte_set_view view = byte_set_bytes(finish_picture);
    return {view.data, view.size};
}

using k = control_kind;
const char* const window = nullptr;
const char panel1[] = "图片框1_背景";
const char panel2[] = "图片框2_背景";
const char panel3[] = "图片框3_背景";

// name, kind, parent, left, top, width, height, visible, background, face background, border,
// caption, text colour, font, picture, fit, normal, hot and pressed pictures, maximum.
const control_definition controls[] = {
    {"图片框1", k::picture_box, window, 8, 8, 24, 24, false, none, true, false, nullptr, none, nullptr,
     LUMVEX_PICTURE_BYTES(picture_icon), picture_fit::stretch, {}, {}, {}, 0},
    {"时钟4", k::timer, window, 72, 32, 26, 26, false, none, false, false, nullptr, none, nullptr, {}, {}, {}, {}, {}, 0},
    {"时钟3", k::timer, window, 48, 32, 26, 26, false, none, false, false, nullptr, none, nullptr, {}, {}, {}, {}, {}, 0},
    {"时钟2", k::timer, window, 24, 32, 26, 26, false, none, false, false, nullptr, none, nullptr, {}, {}, {}, {}, {}, 0},
    {"时钟1", k::timer, window, 0, 32, 26, 26, false, none, false, false, nullptr, none, nullptr, {}, {}, {}, {}, {}, 0},
    {panel1, k::picture_box, window, 0, 0, 250, 400, true, panel_blue, false, true, nullptr, none, nullptr, {}, {}, {}, {}, {}, 0},
    {panel2, k::picture_box, window, 0, 0, 600, 400, true, window_blue, false, true, nullptr, none, nullptr, {}, {}, {}, {}, {}, 0},
    {panel3, k::picture_box, window, 0, 0, 600, 400, true, window_blue, false, true, nullptr, none, nullptr, {}, {}, {}, {}, {}, 0},

    // The first panel: the page the user works with.
    {"标签_日志", k::label, panel1, 79, 344, 160, 24, true, panel_blue, false, false, "", white, nullptr, {}, {}, {}, {}, {}, 0},
    {"透明标签4", k::transparent_label, panel1, 230, 14, 12, 12, true, none, false, false, "×", white, nullptr, {}, {}, {}, {}, {}, 0},
    {"进度条1", k::progress_bar, panel1, 21, 327, 205, 8, false, none, false, false, nullptr, none, nullptr, {}, {}, {}, {}, {}, 100},
    {"图形按钮1", k::picture_button, panel1, 14, 255, 220, 80, true, none, false, false, nullptr, none, nullptr, {}, {},
     LUMVEX_PICTURE_BYTES(picture_install), LUMVEX_PICTURE_BYTES(picture_install_hot), {}, 0},
    {"标签1", k::label, panel1, 7, 344, 56, 24, true, panel_blue, false, false, "安装目录：", white, nullptr, {}, {}, {}, {}, {}, 0},
    {"透明标签1", k::transparent_label, panel1, 7, 8, 68, 24, true, none, false, false, "安装程序", yellow, &title_font, {}, {}, {}, {}, {}, 0},
    {"图片框_Logo", k::picture_box, panel1, 12, 36, 211, 211, true, none, true, false, nullptr, none, nullptr,
     LUMVEX_PICTURE_BYTES(picture_flame), picture_fit::stretch, {}, {}, {}, 0},
    {"标签_安装目录", k::label, panel1, 7, 367, 232, 25, true, panel_blue, false, false, "D:\\Lumvex工具12", white, &directory_font, {}, {}, {}, {}, {}, 0},
    {"ZIP压缩1", k::zip, "图片框_Logo", 8, 40, 27, 27, false, none, false, true, nullptr, none, nullptr, {}, {}, {}, {}, {}, 0},

    // The second panel: a page for the running installation, never shown in this build.
    {"图片框_进度框", k::picture_box, panel2, 0, 335, 600, 24, true, window_blue, false, true, nullptr, none, nullptr, {}, {}, {}, {}, {}, 0},
    {"图片框_进度", k::picture_box, "图片框_进度框", -2, 2, 0, 18, true, white, false, false, nullptr, none, nullptr, {}, {}, {}, {}, {}, 0},
    {"图形按钮10", k::picture_button, panel2, 563, 0, 27, 22, true, none, false, false, nullptr, none, nullptr, {}, {},
     LUMVEX_PICTURE_BYTES(picture_close), LUMVEX_PICTURE_BYTES(picture_close_hot), LUMVEX_PICTURE_BYTES(picture_close_pressed), 0},
    {"图片框_AD", k::picture_box, panel2, 0, 23, 600, 300, true, window_blue, false, false, nullptr, none, nullptr, {}, {}, {}, {}, {}, 0},
    {"透明标签2", k::transparent_label, panel2, 0, 0, 250, 24, true, none, false, false, " Vantrel 5_正在安装...", white, nullptr, {}, {}, {}, {}, {}, 0},

    // The third panel: a page for the finished installation, never shown in this build.
    {"图形按钮3", k::picture_button, panel3, 192, 288, 220, 80, true, none, false, false, nullptr, none, nullptr, {}, {},
     finish_picture_bytes(), {}, {}, 0},
    {"图片框_Logo2", k::picture_box, panel3, 174, 24, 250, 255, true, none, true, false, nullptr, none, nullptr,
     LUMVEX_PICTURE_BYTES(picture_logo2), picture_fit::natural, {}, {}, {}, 0},
    {"透明标签3", k::transparent_label, panel3, 0, 0, 250, 24, true, none, false, false, " Vantrel 5_安装完成！", white, nullptr, {}, {}, {}, {}, {}, 0},
};

const event_binding bindings[] = {
    {"透明标签4", form_event::mouse_released, handler_role::close_mark_released},
    {"图形按钮1", form_event::clicked, handler_role::install_clicked},
    {"标签_安装目录", form_event::mouse_pressed, handler_role::directory_pressed},
    {"图形按钮10", form_event::clicked, handler_role::close_button_clicked},
    {"ZIP压缩1", form_event::progress, handler_role::extraction_progress},
};

const window_definition definition{installer_window, controls, sizeof(controls) / sizeof(controls[0]), bindings,
                                   sizeof(bindings) / sizeof(bindings[0])};

}  // namespace

const window_definition& installer_window_definition() { return definition; }

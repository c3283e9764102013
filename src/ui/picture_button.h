// A picture button with normal, hot and pressed pictures. Hot tracking and pressing use the
// mouse capture; a click is raised only when the left button is released inside.
#pragma once
#include "ui/control.h"
#include "ui/picture.h"

enum class picture_state : WPARAM { normal = 0, hot = 1, pressed = 2 };

class picture_button : public control {
public:
    explicit picture_button(const control_definition& definition);
    void draw_content(HDC dc) override;
    picture_state state() const { return state_; }

    void (*on_clicked)() = nullptr;

protected:
    const char* window_class() const override { return "LumvexPictureButton"; }
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    bool pointer_inside(LPARAM lparam) const;
    void set_state(picture_state state);
    const picture& picture_for_state() const;
    void on_button_down(WPARAM wparam, LPARAM lparam);
    void on_mouse_move(WPARAM wparam, LPARAM lparam);
    void on_button_up(WPARAM wparam, LPARAM lparam);
    LRESULT on_set_picture(WPARAM state, LPARAM bitmap);

    picture pictures_[3];
    picture_state state_ = picture_state::normal;
};

// A picture box: fills its client area with its background colour, then draws its picture.
// The panels of the window are picture boxes without a picture.
#pragma once
#include "ui/control.h"
#include "ui/picture.h"

class picture_box : public control {
public:
    explicit picture_box(const control_definition& definition);
    void draw_content(HDC dc) override;

protected:
    const char* window_class() const override { return "LumvexPictureBox"; }

private:
    picture picture_;
};

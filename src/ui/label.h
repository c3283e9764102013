// A label: one line of left-aligned, vertically centred text, cut at its right edge. A plain
// label fills its rectangle with its background colour first; a transparent label draws its
// text over its parent's content. The caption is kept as the exact bytes written.
#pragma once
#include "runtime/handles.h"
#include "ui/control.h"

class label : public control {
public:
    explicit label(const control_definition& definition);
    void draw_content(HDC dc) override;

protected:
    const char* window_class() const override { return "LumvexLabel"; }
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    bool transparent() const { return definition().kind == control_kind::transparent_label; }
    LRESULT on_set_text(const char* caption);
    LRESULT on_get_text(WPARAM size, char* buffer) const;
    void draw_parent_content(HDC dc);

    text caption_;
    scoped_gdi_object font_;
};

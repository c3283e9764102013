#include "ui/zip_control.h"

#include "unzip/extract_archive.h"

namespace {

class control_events : public extraction_events {
public:
    explicit control_events(zip_control& control, bool& failed) : control_(control), failed_(failed) {}
    bool window_exists() const override { return IsWindow(control_.window()) != FALSE; }
    bool raise_progress(int percent) override {
        // The installer's handler returns no value, so it never asks to stop.
        if (control_.on_progress) control_.on_progress(percent);
        return true;
    }
    void report_outcome(bool failed) override { failed_ = failed; }

private:
    zip_control& control_;
    bool& failed_;
};

}  // namespace

int zip_control::extract_archive(const char* archive_path, const char* target_directory) {
    failed_ = false;
    control_events events(*this, failed_);
    return ::extract_archive(archive_path, target_directory, events);
}

void zip_control::draw_content(HDC dc) {
    RECT client;
    GetClientRect(window_, &client);
    fill_rect(dc, client, RGB(0xD4, 0xD0, 0xC8));
}

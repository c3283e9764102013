// The ZIP control: extracts an archive file into a directory and raises its progress event
// on the calling thread. Its window is a small bordered grey box that is never shown.
#pragma once

#include "ui/control.h"

class zip_control : public control {
public:
    using control::control;

    // Runs the extraction on the calling thread; see extract_archive for the result.
    int extract_archive(const char* archive_path, const char* target_directory);

    // While the final event's handler runs: whether this extraction failed.
    bool extraction_failed() const { return failed_; }

    void (*on_progress)(int percent) = nullptr;

    void draw_content(HDC dc) override;

protected:
    const char* window_class() const override { return "LumvexZip"; }

private:
    bool failed_ = false;
};

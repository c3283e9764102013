// Extraction of a ZIP archive file into a directory, reporting progress as events.
#pragma once

// What the extraction asks of the control that runs it.
class extraction_events {
public:
    virtual ~extraction_events() = default;
    // Events are raised only while the control's window exists.
    virtual bool window_exists() const = 0;
    // Raises the progress event; false asks the extraction to stop after this entry.
    virtual bool raise_progress(int percent) = 0;
    // Called once before the final event (100, or the single 0 of a failed start): whether
    // the extraction failed, so that the final event's handler can tell failure from success.
    virtual void report_outcome(bool failed) = 0;
};

// 1: the walk came to its end or the handler stopped it; 0: failure once the archive exists;
// -1: a path is absent (null) or the archive file does not exist.
int extract_archive(const char* archive_path, const char* target_directory, extraction_events& events);

// Creates every missing level of `path` (a trailing "\\" is implied), walking by characters
// so that a trail byte equal to "\\" is not taken for a separator. False when a level cannot
// be created or the path has MAX_PATH bytes or more.
bool make_directory_path(const char* path);

// Whether the file begins with a ZIP local file header whose name length is at least 1.
bool zip_signature_test(const char* path);

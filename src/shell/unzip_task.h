#pragma once
// The task "unzip file": unpacks an archive for the task window and offers to delete it.

#include <string>

namespace tkv {

// Filled by the caller before the task runs; unpacked is the result.
struct UNZIP_REQUEST {
    std::string archive, target_folder, file_mask, label_text;
    bool silent = false;   // no questions and no messages
    bool unpacked = false; // the extraction succeeded
};

// What the task window shows and asks.
class UnzipUi {
  public:
    virtual ~UnzipUi() = default;
    virtual void set_progress(int percent) = 0;
    virtual bool ask_overwrite() = 0;                   // caption 580
    virtual bool ask_delete_archive(bool unpacked) = 0; // caption 582 when unpacked, 581 when not
    virtual void report_deletion(bool deleted) = 0;     // caption 584 when deleted, 583 when not
};

// Extracts the archive, sets request.unpacked and then deletes the archive when the user agrees;
// nothing else is deleted. Silent requests overwrite existing files and delete the archive
// afterwards, whether it unpacked or not.
void u_progress_unzip(UNZIP_REQUEST& request, UnzipUi& ui);

} // namespace tkv

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
    virtual bool ask_overwrite() = 0;                   // caption_slot::unpack_overwrite_question
    virtual bool ask_delete_archive(bool unpacked) = 0; // unpack_{done,failed}_delete_question
    virtual void report_deletion(bool deleted) = 0;     // unpack_deleted or unpack_delete_failed
};

// Extracts the archive, sets request.unpacked and then deletes the archive when the user agrees;
// nothing else is deleted. Silent requests overwrite existing files and delete the archive
// afterwards, whether it unpacked or not.
void u_progress_unzip(UNZIP_REQUEST& request, UnzipUi& ui);

} // namespace tkv

// A list file read by a job, piece by piece, inside the job frame: the quit
// and stop checks run before every piece, the quit and fatal paths close the list,
// and a list that cannot be opened or read fails the job with the kind's
// own messages.
#pragma once

#include <string>

#include "jobs/JobFrame.h"
#include "lists/ListText.h"
#include "platform/TextStream.h"

namespace velmar {

class ListPieces {
public:
    // The kind's messages for a list that cannot be opened and for one that
    // cannot be read to its end.
    ListPieces(JobFrame& frame, const char* missing, const char* unusable)
        : frame_(frame), missing_(missing), unusable_(unusable) {}
    ~ListPieces();
    ListPieces(const ListPieces&) = delete;
    ListPieces& operator=(const ListPieces&) = delete;

    // Opens the list and hands it to the frame; fatal when it cannot be read
    // (it vanished after the dialog, or it may not be read).
    void Open(const ListText& list);

    // The quit check, then the next piece of at most 511 characters. False
    // at the end of the text, or once the job is stopped (the list is then
    // read no further); a read error on the way is fatal, so a damaged
    // medium never passes for a shorter list.
    bool Next(std::string& piece);

    // Closes the list and takes it back from the frame.
    void Close();

private:
    JobFrame& frame_;
    const char* missing_;
    const char* unusable_;
    TextReader reader_;
    bool held_ = false;
};

}  // namespace velmar

#include "lists/ListPieces.h"

namespace velmar {

ListPieces::~ListPieces() { Close(); }

void ListPieces::Open(const std::string& path) {
    if (!reader_.Open(path)) frame_.Fatal(JobFailure::ListUnusable, missing_);
    frame_.HoldList([this] { reader_.Close(); });
    held_ = true;
}

bool ListPieces::Next(std::string& piece) {
    frame_.QuitCheck();
    if (frame_.StopCheck()) return false;
    if (reader_.ReadPiece(piece)) return true;
    if (reader_.Failed()) frame_.Fatal(JobFailure::ListUnusable, unusable_);
    return false;
}

void ListPieces::Close() {
    if (held_) frame_.HoldList(nullptr);
    held_ = false;
    reader_.Close();
}

}  // namespace velmar

#include "lists/ListPieces.h"

namespace velmar {

ListPieces::~ListPieces() { Close(); }

void ListPieces::Open(const ListText& list) {
    if (list.signedPart) reader_.OpenText(*list.signedPart);
    else if (!reader_.Open(list.path)) frame_.Fatal(JobFailure::ListUnusable, missing_);
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

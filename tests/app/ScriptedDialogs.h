// Dialog answers from a script, for the shell's tests.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/Dialogs.h"

namespace velmar::test {

class ScriptedDialogs : public Dialogs {
public:
    std::deque<std::optional<std::vector<std::string>>> files;
    std::deque<MessageAnswer> answers;
    std::vector<OpenFileRequest> requests;
    std::vector<std::string> messages;

    std::optional<std::vector<std::string>> OpenFiles(QWidget*, const OpenFileRequest& request) override {
        requests.push_back(request);
        if (files.empty()) return std::nullopt;
        auto answer = files.front();
        files.pop_front();
        return answer;
    }
    // Answered from `files` too: the first path of the answer.
    std::optional<std::string> OpenFolder(QWidget*, const std::string& title) override {
        OpenFileRequest request;
        request.title = title;
        requests.push_back(request);
        if (files.empty()) return std::nullopt;
        auto answer = files.front();
        files.pop_front();
        if (!answer || answer->empty()) return std::nullopt;
        return answer->front();
    }
    // Answered from `files` too, as OpenFolder is; `suggested` kept.
    std::vector<std::string> suggestions;
    std::optional<std::string> SaveFile(QWidget* parent, const OpenFileRequest& request,
                                        const std::string& suggested) override {
        suggestions.push_back(suggested);
        return OpenFolder(parent, request.title);
    }
    std::deque<FileCheckRequest> checks;
    std::vector<FileCheckRequest> checksGiven;
    std::optional<FileCheckRequest> FileCheck(QWidget*, const FileCheckRequest& given) override {
        checksGiven.push_back(given);
        if (checks.empty()) return std::nullopt;
        FileCheckRequest answer = checks.front();
        checks.pop_front();
        return answer;
    }
    // Answered from `files` too: the first path of the answer is the kind's
    // name; `kindsOffered` keeps what was offered.
    std::vector<std::vector<std::string>> kindsOffered;
    std::optional<std::string> ListKind(QWidget* parent, const std::vector<std::string>& kinds) override {
        kindsOffered.push_back(kinds);
        return OpenFolder(parent, "Create which list?");
    }
    // Answered from `files` too: its first two paths.
    std::optional<std::array<std::string, 2>> FilesToCompare(QWidget*) override {
        if (files.empty()) return std::nullopt;
        auto answer = files.front();
        files.pop_front();
        if (!answer || answer->size() != 2) return std::nullopt;
        return std::array<std::string, 2>{(*answer)[0], (*answer)[1]};
    }
    MessageAnswer Message(QWidget*, const std::string& text, MessageButtons buttons) override {
        messages.push_back(text);
        if (buttons == MessageButtons::Ok || answers.empty()) return MessageAnswer::Ok;
        MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace velmar::test

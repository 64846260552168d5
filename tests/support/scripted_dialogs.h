#pragma once
// Dialogs for tests: each question must have been announced with its answer, in order. A question
// nobody announced, or one that does not fit the announcement, fails the test; so does an
// announced question that was never asked.

#include "platform/dialogs.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace tkv::test {

class ScriptedDialogs : public Dialogs {
  public:
    ~ScriptedDialogs() override {
        for (const auto& e : expected_)
            ADD_FAILURE() << "question never asked: " << e.what;
    }

    // The next question is a message box whose text contains `text_part`.
    ScriptedDialogs& expect_message(std::string text_part, MessageAnswer answer) {
        expected_.push_back(
            {"message containing \"" + text_part + "\"", Kind::message,
             [text_part](const std::string& text) { return text.find(text_part) != std::string::npos; },
             answer, std::nullopt, std::nullopt, std::nullopt});
        return *this;
    }
    // The next question is a save (or open) dialog; nullopt answers Cancel.
    ScriptedDialogs& expect_save(std::optional<FileDialogResult> answer) {
        expected_.push_back(
            {"save dialog", Kind::save, {}, {}, std::move(answer), std::nullopt, std::nullopt});
        return *this;
    }
    ScriptedDialogs& expect_open(std::optional<FileDialogResult> answer) {
        expected_.push_back(
            {"open dialog", Kind::open, {}, {}, std::move(answer), std::nullopt, std::nullopt});
        return *this;
    }
    ScriptedDialogs& expect_folder(std::optional<std::string> answer) {
        expected_.push_back(
            {"folder dialog", Kind::folder, {}, {}, std::nullopt, std::move(answer), std::nullopt});
        return *this;
    }
    ScriptedDialogs& expect_font(std::optional<FontChoice> answer) {
        expected_.push_back(
            {"font dialog", Kind::font, {}, {}, std::nullopt, std::nullopt, std::move(answer)});
        return *this;
    }

    std::vector<MessageRequest> messages;        // every message box shown, in order
    std::vector<FileDialogRequest> file_dialogs; // every file dialog shown

    bool all_answered() const { return expected_.empty(); }

    MessageAnswer message(const MessageRequest& r) override {
        messages.push_back(r);
        if (auto e = next(Kind::message, r.title + ": " + r.text)) return e->answer;
        return MessageAnswer::cancel;
    }
    std::optional<FileDialogResult> open_file(const FileDialogRequest& r) override {
        file_dialogs.push_back(r);
        auto e = next(Kind::open, r.title);
        return e ? e->file : std::nullopt;
    }
    std::optional<FileDialogResult> save_file(const FileDialogRequest& r) override {
        file_dialogs.push_back(r);
        auto e = next(Kind::save, r.title);
        return e ? e->file : std::nullopt;
    }
    std::optional<std::string> choose_folder(const std::string& title, const std::string&) override {
        auto e = next(Kind::folder, title);
        return e ? e->folder : std::nullopt;
    }
    std::optional<FontChoice> choose_font(const std::string& title, const FontChoice&) override {
        auto e = next(Kind::font, title);
        return e ? e->font : std::nullopt;
    }

  private:
    enum class Kind { message, open, save, folder, font };
    struct Expected {
        std::string what;
        Kind kind;
        std::function<bool(const std::string&)> matches;
        MessageAnswer answer;
        std::optional<FileDialogResult> file;
        std::optional<std::string> folder;
        std::optional<FontChoice> font;
    };

    std::optional<Expected> next(Kind kind, const std::string& shown) {
        if (expected_.empty() || expected_.front().kind != kind) {
            ADD_FAILURE() << "unexpected question: " << shown
                          << (expected_.empty() ? std::string(" (none announced)")
                                                : " (expected " + expected_.front().what + ")");
            return std::nullopt;
        }
        Expected e = std::move(expected_.front());
        expected_.pop_front();
        if (e.matches && !e.matches(shown))
            ADD_FAILURE() << "question \"" << shown << "\" is not the " << e.what;
        return e;
    }

    std::deque<Expected> expected_;
};

} // namespace tkv::test

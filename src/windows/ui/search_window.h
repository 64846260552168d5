#pragma once
// Tsearch: finds games by a text. The names come first: those that contain the text anywhere
// (the main window's quick search only matches the beginning), then the names like it under a
// heading of their own; below them the games whose texts hold the words, best first. It hands the
// chosen row of the displayed list back, and for a text hit also where in the game the words are.

#include <QDialog>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "search/game_documents.h"
#include "shell/codepage.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;

namespace tkv {

struct ProgramContext;
struct SearchHit;
class SimilarNames;
class TextSearchService;
class TTKV_ListBox;
class WindowSkin;

// What the search window searches besides the names' substrings; either may be missing.
struct SearchSources {
    const SimilarNames* similar_names = nullptr; // of the displayed list
    TextSearchService* texts = nullptr;          // the open profile's full-text search
};

class Tsearch : public QDialog {
    Q_OBJECT
  public:
    // A game chosen from the text hits: the words and where the best of them are.
    struct TextChoice {
        std::string query; // UTF-8, as typed
        EntryKind kind = EntryKind::names;
        std::size_t entry = 0;
    };

    // search_text: the text of the main window's search box, the starting point of the search.
    Tsearch(ProgramContext& context, const QString& search_text, QWidget* parent = nullptr,
            SearchSources sources = {});
    ~Tsearch() override;

    // The chosen row of the game list; none when the window was closed without a choice.
    std::optional<int> result() const { return result_; }
    // Set when the choice came from the text hits.
    const std::optional<TextChoice>& text_choice() const { return text_choice_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void btc_searchClick();
    void search_texts();
    QString where_caption(const SearchHit& hit) const;
    void btc_viewClick();
    void focus_list(TTKV_ListBox* list);
    void ls_listEnter();
    void ed_nameEnter();
    void focus_ed_name();

    ProgramContext& context_;
    SearchSources sources_;
    CodePage names_code_page_;                 // of the open profile, in which the game names are kept
    std::vector<std::int32_t> search_results_; // game list rows, in the order ls_list shows them; -1 a heading
    struct TextHit {
        std::int32_t row;
        EntryKind kind;
        std::size_t entry;
    };
    std::vector<TextHit> text_hits_; // in the order ls_texts shows them
    std::string text_query_;         // UTF-8, what the text hits were found for
    bool texts_waiting_ = false;     // the index is being prepared: search when it is ready
    std::optional<int> result_;
    std::optional<TextChoice> text_choice_;
    QLineEdit* ed_name_;
    QLabel* lb_list_;
    TTKV_ListBox* ls_list_;
    QLabel* lb_texts_;
    TTKV_ListBox* ls_texts_;
    QStandardItemModel* texts_model_;
    QWidget* last_list_ = nullptr; // the list View takes its choice from
    QPushButton* btc_search_;
    QPushButton* btc_view_;
    std::unique_ptr<WindowSkin> skin_;
};

} // namespace tkv

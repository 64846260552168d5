// The skin catalogue: reading and filtering tkv_skins.tku, the list rows, the ignore marker and the
// category order.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "appearance/caption_defaults.h"
#include "internet/skin_catalogue.h"
#include "shell/numbers.h"
// The publisher's writer of the same file (tkv_cli is not linked into this test).
#include "cli/publish_skin_catalogue.cpp"

namespace tkv {
namespace {

cli::SkinOffer offer(std::int32_t number, std::string file_name, int rating, std::string categories = "1") {
    cli::SkinOffer s;
    s.number = number;
    s.file_name = std::move(file_name);
    s.display_name = "Skin " + std::to_string(number);
    s.rating = rating;
    s.categories = std::move(categories);
    return s;
}

std::vector<std::string> keys(const std::vector<DOWNSKINS_TYPE>& skins) {
    std::vector<std::string> k;
    for (const auto& s : skins)
        k.push_back(s.key);
    return k;
}

Captions captions() {
    Captions c;
    captions_reset(c);
    return c;
}

TEST(SkinCatalogue, FiltersByGradeCategoryInstalledAndIgnored) {
    const std::string data = cli::skin_catalogue_resource({
        offer(1, "Low", 199),          // below grade 2
        offer(2, "Two", 200),
        offer(3, "Four", 400, "3,13"),
        offer(4, "Above", 401),         // above grade 4
        offer(5, "Other", 300, "13,23"),
        offer(6, "Installed", 300),
        offer(7, "Ignored", 300, "3"),
    });
    SkinFilter f;
    f.lowest_grade = 2;
    f.highest_grade = 4;
    f.installed = [](const std::string& key) { return key == "0006_installed"; };
    f.ignored = [](const std::string& key) { return key == "0007_ignored"; };
    std::vector<int> progress;
    f.progress = [&](int percent) { progress.push_back(percent); };
    EXPECT_EQ(keys(u_progress_skin_download(data, f)),
              (std::vector<std::string>{"0002_two", "0003_four", "0005_other"}));
    EXPECT_EQ(progress.size(), 7u);

    f.category = "3";
    EXPECT_EQ(keys(u_progress_skin_download(data, f)), (std::vector<std::string>{"0003_four"}));
    f.category = "0";
    EXPECT_EQ(u_progress_skin_download(data, f).size(), 3u);
}

TEST(SkinCatalogue, ReadsEveryFieldAndTheirOddities) {
    cli::SkinOffer full = offer(12, "Blue", 456, "2,5");
    full.size_kb = 321;
    full.date = parse_date("20261130");
    full.author = "Ann";
    full.author_email = "ann@example.org";
    full.author_homepage = "http://example.org/";
    full.skin_version = "1.2";
    full.program_version = "3.50";
    const std::string data = cli::skin_catalogue_resource({full});
    const auto read = u_progress_skin_download(data, {});
    ASSERT_EQ(read.size(), 1u);
    const DOWNSKINS_TYPE& s = read[0];
    EXPECT_EQ(s.key, "0012_blue");
    EXPECT_EQ(s.size_kb, "321");
    EXPECT_EQ(format_date(s.date), format_date(parse_date("20261130")));
    EXPECT_EQ(s.display_name, "Skin 12");
    EXPECT_EQ(s.author_email, "ann@example.org");
    EXPECT_EQ(s.program_version, "3.50");
    EXPECT_EQ(s.rating_hundredths, 456);
    EXPECT_EQ(s.categories, ",2,5,");

    // Fields given again before the end of the skin's fields win; unknown types are skipped; a
    // rating that is no number is 0, below every grade.
    const auto with_fields = [&](const std::string& fields) {
        std::string d = data;
        return d.insert(d.size() - 5, fields);
    };
    const auto again = u_progress_skin_download(with_fields(std::string("\x0A\x03" "250" "\x63\x01" "x" "\x0B\x01" "7", 11)), {});
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].rating_hundredths, 250);
    EXPECT_EQ(again[0].categories, ",7,");
    EXPECT_TRUE(u_progress_skin_download(with_fields("\x0A\x03" "abc"), {}).empty());
}

TEST(SkinCatalogue, BadDataOffersNothingUnsafe) {
    const SkinFilter any;
    const std::string good = cli::skin_catalogue_resource({offer(1, "One", 300), offer(2, "Two", 300)});
    // A wrong header.
    EXPECT_TRUE(u_progress_skin_download("\x15TRICKVAULT350GAMELIST" + good.substr(22), any).empty());
    EXPECT_TRUE(u_progress_skin_download("", any).empty());
    // A field running past the end: the skins before it stay, the cut one is dropped.
    std::string cut = good.substr(0, good.size() - 5);
    cut.back() = '\x7F';
    EXPECT_EQ(keys(u_progress_skin_download(cut, any)), (std::vector<std::string>{"0001_one"}));
    // A skin number of 0xFFFFFFFF ends the catalogue as the end mark does.
    std::string all_ones = good;
    all_ones.replace(cli::skin_catalogue_resource({offer(1, "One", 300)}).size() - 4, 4, "\xFF\xFF\xFF\xFF");
    EXPECT_EQ(keys(u_progress_skin_download(all_ones, any)), (std::vector<std::string>{"0001_one"}));
    // Keys that could name a file outside the skins folder.
    const std::string hostile = cli::skin_catalogue_resource(
        {offer(1, "../../evil", 300), offer(2, "a\\b", 300), offer(3, "ok", 300), offer(4, "new\nline", 300)});
    EXPECT_EQ(keys(u_progress_skin_download(hostile, any)), (std::vector<std::string>{"0003_ok"}));
    std::vector<cli::SkinOffer> many;
    for (int i = 1; i <= 2100; ++i)
        many.push_back(offer(i, "s", 300));
    EXPECT_EQ(u_progress_skin_download(cli::skin_catalogue_resource(many), any).size(), catalogue_max);
}

TEST(SkinCatalogue, RowsAndIgnoreMarker) {
    const Captions c = captions();
    const std::pair<std::int64_t, const char*> grades[] = {{345, "3.45"}, {300, "3.00"}, {5, "0.05"}, {1000, "10.00"}};
    for (const auto& [hundredths, text] : grades)
        EXPECT_EQ(rating_text(hundredths), text);
    DOWNSKINS_TYPE s;
    s.display_name = "Blue";
    s.rating_hundredths = 456;
    s.key = "0012_blue";
    s.size_kb = "321";
    s.skin_version = "1.2";
    s.program_version = "3.50";
    s.author = "Ann";
    s.author_email = "ann@example.org";
    s.author_homepage = "http://example.org/";
    EXPECT_EQ(skin_list_row(c, s), "Blue (4.56)");
    EXPECT_EQ(ignore_marker_text(c, s, "10.12.2026 12:00:00", "http://main.example/"),
              "Skin file's name: 0012_blue.tkvs\r\n"
              "Skin size:        321 KBytes\r\n\r\n"
              "Skin name:        Blue\r\n"
              "Skin version:     1.2\r\n"
              "Program version:  3.50\r\n\r\n"
              "Created by:       Ann\r\n"
              "E-mail address:   ann@example.org\r\n"
              "Home page:        http://example.org/\r\n\r\n"
              "Unavailable:      10.12.2026 12:00:00\r\n\r\n"
              "Download:         http://main.example/skins/0012_blue.tkvs\r\n");
}

TEST(SkinCatalogue, CategoryOrder) {
    Captions c = captions();
    const auto codes = [&](const char* language) {
        std::string order;
        for (const auto& category : sorted_skin_categories(c, language))
            order += category.code + " ";
        return order;
    };
    // English: "Abstract", "Aircraft, Ships", "Animals", "Anime, Cartoons", "Art, Painting", ...
    EXPECT_TRUE(codes("English").starts_with("3 26 4 5 6 ")) << codes("English");
    // Windows-1250 captions: "Állatok" sorts after every plain letter unless folded.
    for (int slot = 687; slot <= 713; ++slot)
        c[static_cast<std::size_t>(slot)] = "z" + std::to_string(slot);
    c[687] = "\xC1llatok";
    c[688] = "Aut\xF3k";
    c[689] = "Bab";
    EXPECT_TRUE(codes("hungarian").starts_with("1 2 3 ")) << codes("hungarian");
    EXPECT_TRUE(codes("Hungarian").starts_with("1 2 3 "));
    EXPECT_TRUE(codes("English").starts_with("2 3 4 ")) << codes("English");
    EXPECT_TRUE(codes("English").ends_with(" 1 ")) << codes("English");
}

} // namespace
} // namespace tkv

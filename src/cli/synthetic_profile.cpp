#include "cli/synthetic_profile.h"

#include "cli/profile_source.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tkv {

namespace {

// splitmix64: small, fast and the same on every platform, unlike the standard distributions.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }

  private:
    std::uint64_t state_;
};

constexpr std::array syllables{"ka", "ro",  "mi",  "ta",  "ven", "dor", "lu",  "shi",
                               "an", "gel", "tor", "qua", "zen", "bri", "mo",  "ex",
                               "ul", "fa",  "nor", "sty", "ra",  "de",  "pho", "gar"};
constexpr std::array title_words{"Shadow",  "Legend",  "Racer", "Quest",  "Empire",  "Storm",
                                 "Tactics", "Kingdom", "Arena", "Galaxy", "Dungeon", "Knight",
                                 "Rally",   "Soccer",  "Ninja", "Dragon"};

std::string word(Random& r) {
    std::string w;
    for (std::size_t n = 1 + r.below(3); n > 0; --n)
        w += syllables[r.below(syllables.size())];
    return w;
}

std::string title(Random& r) {
    std::string t = title_words[r.below(title_words.size())];
    t += " " + word(r);
    if (r.below(3) == 0) t += " " + std::to_string(2 + r.below(4));
    if (r.below(4) == 0) t += ": " + std::string(title_words[r.below(title_words.size())]) + " " + word(r);
    return t;
}

// Lines of about 60 characters up to `size` bytes.
std::string text(Random& r, std::size_t size) {
    std::string t;
    std::size_t line = 0;
    while (t.size() < size) {
        const std::string w = word(r);
        if (line + w.size() > 60) {
            t += "\r\n";
            line = 0;
        } else if (line > 0) {
            t += ' ';
            ++line;
        }
        t += w;
        line += w.size();
    }
    return t;
}

} // namespace

std::optional<SyntheticProfile> generate_profile(const SyntheticOptions& o) {
    if (o.games > games_max || (o.rows != 0 && (o.rows < o.games || o.rows > 3 * o.games)))
        return std::nullopt;
    Random r(o.seed);
    SyntheticProfile out;
    out.profile.id = "synthetic";
    out.profile.name = "Synthetic games";
    out.profile.language = "English";
    out.profile.main_date = *make_datetime({2026, 1, 1, 0, 0, 0, 0});
    for (std::uint8_t n = 1; n <= 8; ++n)
        out.db.info_types.push_back({n, "Type " + std::to_string(n)});

    // Names per game: 1-3 at random, or spread so that they add up to the rows asked for.
    std::vector<std::size_t> name_counts(o.games, 1);
    if (o.rows == 0) {
        for (auto& c : name_counts)
            c = 1 + r.below(3);
    } else {
        std::size_t extra = o.rows - o.games;
        for (std::size_t i = 0; extra > 0; i = (i + 1) % o.games) {
            const std::size_t add = std::min<std::size_t>({extra, 2 - (name_counts[i] - 1), 1 + r.below(2)});
            name_counts[i] += add;
            extra -= add;
        }
    }
    out.db.games.reserve(o.games);
    for (std::size_t i = 0; i < o.games; ++i) {
        SourceGame g;
        g.id = static_cast<std::int32_t>(i + 1);
        g.revision = static_cast<std::int32_t>(1 + r.below(9));
        for (std::size_t n = 0; n < name_counts[i]; ++n)
            g.names += (n ? "\r\n" : "") + title(r);
        for (std::size_t e = 1 + r.below(4); e > 0; --e) {
            BlockInfo info;
            if (r.below(5) == 0)
                info.name = "Notes on " + word(r);
            else
                info.type_number = static_cast<std::uint8_t>(1 + r.below(8));
            // Sizes from 0.5 KB to 20 KB, small ones more often, as in real databases.
            info.text = text(r, static_cast<std::size_t>(500.0 * std::exp(r.unit() * std::log(40.0))));
            g.infos.push_back(std::move(info));
        }
        if (r.below(4) == 0)
            g.files.push_back({"http://files.trickvault.example/" + word(r) + ".zip",
                               std::to_string(1 + r.below(900)) + " KB", "Savegame " + word(r), text(r, 80)});
        if (r.below(3) == 0)
            g.homepages.push_back({"http://www." + word(r) + ".example/", title(r), text(r, 60)});
        out.db.games.push_back(compile_game(g));
    }
    return out;
}

} // namespace tkv

#include "cli/synthetic_profile.h"

#include "cli/profile_source.h"
#include "shell/text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_set>

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
std::string word(Random& r) {
    std::string w;
    for (std::size_t n = 1 + r.below(3); n > 0; --n)
        w += syllables[r.below(syllables.size())];
    return w;
}

constexpr std::array adjectives{"Shadow", "Iron",     "Crimson", "Silent", "Lost",    "Eternal",   "Frozen",
                                "Savage", "Golden",   "Dark",    "Broken", "Burning", "Hidden",    "Ancient",
                                "Rogue",  "Wild",     "Steel",   "Final",  "Mystic",  "Forgotten", "Neon",
                                "Royal",  "Thunder",  "Cosmic",  "Fallen", "Endless", "Super",     "Turbo",
                                "Black",  "Electric", "Sacred",  "Hollow"};
constexpr std::array nouns{"Legend",   "Racer",      "Quest",   "Empire",  "Storm",    "Tactics", "Kingdom",
                           "Arena",    "Galaxy",     "Dungeon", "Knight",  "Rally",    "Soccer",  "Ninja",
                           "Dragon",   "Frontier",   "Warfare", "Odyssey", "Fortress", "Pilot",   "Commando",
                           "Crusade",  "Chronicles", "Raiders", "Tycoon",  "Hunter",   "Islands", "Outlaws",
                           "Squadron", "Colony",     "Wizard",  "Strike"};
constexpr std::array places{"the North", "Doom",    "the Deep",   "Avalon",  "the Ancients", "the Void",
                            "Atlantis",  "the Sun", "the Empire", "Eldoria", "the Abyss",    "Valhalla",
                            "the Moon",  "Kings",   "the Desert", "Ruin",    "the Titans",   "Thorns"};
constexpr std::array sequels{"2", "3", "4", "II", "III", "2000", "Gold", "Deluxe"};

template <typename List> const char* pick(Random& r, const List& list) {
    return list[r.below(list.size())];
}

// A game title as a real list shows them: "Iron Racer", "Frozen Dungeon 3", "Wizard of the Deep",
// "Rogue Knight: Crusade of Avalon".
std::string title(Random& r) {
    std::string t;
    switch (r.below(4)) {
    case 0:
        t = std::string(pick(r, nouns)) + " of " + pick(r, places);
        break;
    default:
        t = std::string(pick(r, adjectives)) + " " + pick(r, nouns);
        break;
    }
    if (r.below(3) == 0) t += std::string(" ") + pick(r, sequels);
    if (r.below(3) == 0)
        t += std::string(": ") + pick(r, adjectives) + " " + pick(r, nouns) + " of " + pick(r, places);
    return t;
}

// A title no other row has, letter case ignored as the list compares them.
std::string distinct_title(Random& r, std::unordered_set<std::string>& taken) {
    for (;;) {
        std::string t = title(r);
        if (taken.insert(lower_text(t)).second) return t;
    }
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
    out.profile.id = o.id;
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
    std::unordered_set<std::string> taken;
    out.db.games.reserve(o.games);
    for (std::size_t i = 0; i < o.games; ++i) {
        SourceGame g;
        g.id = static_cast<std::int32_t>(i + 1);
        g.revision = static_cast<std::int32_t>(1 + r.below(9));
        for (std::size_t n = 0; n < name_counts[i]; ++n)
            g.names += (n ? "\r\n" : "") + distinct_title(r, taken);
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

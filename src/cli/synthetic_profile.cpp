#include "cli/synthetic_profile.h"

#include "cli/profile_source.h"
#include "shell/text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <initializer_list>
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

// Word lists in Windows-1252, the code page of the profile's language (English); a few words carry
// accents. Every word of a title has three letters or more (or is "of", "II" or a number).
constexpr std::array adjectives{"Shadow", "Iron",     "Crimson", "Silent", "Lost",    "Eternal",   "Frozen",
                                "Savage", "Golden",   "Dark",    "Broken", "Burning", "Hidden",    "Ancient",
                                "Rogue",  "Wild",     "Steel",   "Final",  "Mystic",  "Forgotten", "Neon",
                                "Royal",  "Thunder",  "Cosmic",  "Fallen", "Endless", "Super",     "Turbo",
                                "Black",  "Electric", "Sacred",  "Hollow", "Crystal", "Scarlet",   "Infinite",
                                "Atomic", "Primal",   "Secret",  "Mighty", "Red",     "\xC9lite",  "Brave"};
constexpr std::array nouns{"Legend",   "Racer",      "Quest",   "Empire",   "Storm",    "Tactics", "Kingdom",
                           "Arena",    "Galaxy",     "Dungeon", "Knight",   "Rally",    "Soccer",  "Ninja",
                           "Dragon",   "Frontier",   "Warfare", "Odyssey",  "Fortress", "Pilot",   "Commando",
                           "Crusade",  "Chronicles", "Raiders", "Tycoon",   "Hunter",   "Islands", "Outlaws",
                           "Squadron", "Colony",     "Wizard",  "Strike",   "Temple",   "Pinball", "Heroes",
                           "Saga",     "Rebellion",  "Dynasty", "Sentinel", "Blade",    "Inferno", "Caf\xE9"};
constexpr std::array heroes{"Kazar",
                            "Vela",
                            "Talos",
                            "Mira",
                            "Orion",
                            "Zephyr",
                            "Aurora",
                            "Drakon",
                            "Solara",
                            "Corvus",
                            "Lumen",
                            "Zo\xEB",
                            "Ren\xE9"
                            "e",
                            "Jos\xE9",
                            "\xC5sgard",
                            "Mar\xED"
                            "a",
                            "Bj\xF6rn",
                            "Fran\xE7ois",
                            "Nu\xF1"
                            "ez",
                            "Th\xE9o"};
constexpr std::array places{"the North", "Doom",    "the Deep",   "Avalon",  "the Ancients", "the Void",
                            "Atlantis",  "the Sun", "the Empire", "Eldoria", "the Abyss",    "Valhalla",
                            "the Moon",  "Kings",   "the Desert", "Ruin",    "the Titans",   "Thorns"};
// Two halves of one-word titles ("Stormforge").
constexpr std::array firsts{"Star",  "Moon",  "Iron", "Storm", "Sky", "Fire",
                            "Blood", "Night", "Sun",  "Frost", "War"};
constexpr std::array seconds{"forge", "rise", "born",  "bound", "heart",
                             "wind",  "hold", "reach", "spire", "shard"};
// Sequels: as written, and as short forms give them.
constexpr std::array<std::pair<const char*, const char*>, 12> sequels{{{"2", "2"},
                                                                       {"3", "3"},
                                                                       {"4", "4"},
                                                                       {"5", "5"},
                                                                       {"II", "2"},
                                                                       {"III", "3"},
                                                                       {"VII", "7"},
                                                                       {"VIII", "8"},
                                                                       {"64", "64"},
                                                                       {"2000", "2000"},
                                                                       {"Deluxe", ""},
                                                                       {"Gold", ""}}};

template <typename List> auto pick(Random& r, const List& list) {
    return list[r.below(list.size())];
}

// The parts one after the other. A braced list is evaluated from left to right, so the random
// choices come in the same order with every compiler.
std::string join(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (const auto part : parts)
        out += part;
    return out;
}

struct Title {
    std::string text;
    std::string short_form; // initials of the main words and the sequel's number: "IR2"
};

// The initials of a title's words, "The" at its start left out.
std::string initials(std::string_view words) {
    std::string out;
    if (words.starts_with("The ")) words.remove_prefix(4);
    for (bool start = true; !words.empty(); words.remove_prefix(1)) {
        if (start && std::isalpha(static_cast<unsigned char>(words[0])))
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(words[0])));
        start = words[0] == ' ';
    }
    return out;
}

// A game title as a real list shows them: "Iron Racer", "The Legend of Zo\xEB", "Kazar's Quest 3",
// "Stormforge II: Return of Vela", "Frozen Dungeon: The Temple of the Deep".
Title title(Random& r) {
    std::string t;
    switch (r.below(10)) {
    case 4:
        t = join({"The ", pick(r, adjectives), " ", pick(r, nouns)});
        break;
    case 5:
        t = join({pick(r, nouns), " of ", r.below(2) ? pick(r, places) : pick(r, heroes)});
        break;
    case 6:
        t = join({"The ", pick(r, nouns), " of ", pick(r, heroes)});
        break;
    case 7:
        t = join({pick(r, heroes), "'s ", pick(r, nouns)});
        break;
    case 8:
        t = join({r.below(3) ? "" : "Super ", pick(r, heroes), " ", pick(r, nouns)});
        break;
    case 9:
        t = join({pick(r, firsts), pick(r, seconds)});
        break;
    default:
        t = join({pick(r, adjectives), " ", pick(r, nouns)});
        break;
    }
    Title out{t, initials(t)};
    if (r.below(3) == 0) {
        const auto& [sequel, number] = pick(r, sequels);
        out.text += join({" ", sequel});
        out.short_form += number;
    }
    if (r.below(3) == 0) {
        switch (r.below(5)) {
        case 0:
            out.text += join({": The ", pick(r, nouns), " of ", pick(r, places)});
            break;
        case 1:
            out.text += join({": Return of ", pick(r, heroes)});
            break;
        case 2:
            out.text += join({": ", pick(r, heroes), "'s Revenge"});
            break;
        case 3:
            out.text += r.below(2) ? ": Director's Cut" : ": Game of the Year Edition";
            break;
        default:
            out.text += join({": ", pick(r, adjectives), " ", pick(r, nouns)});
            break;
        }
    }
    return out;
}

// A name no other row has, letter case ignored as the list compares them.
bool take(std::unordered_set<std::string>& taken, const std::string& name) {
    return taken.insert(lower_text(name)).second;
}
Title distinct_title(Random& r, std::unordered_set<std::string>& taken) {
    for (;;) {
        Title t = title(r);
        if (take(taken, t.text)) return t;
    }
}

// Game texts: sentences of a player's vocabulary, cheat codes and their effects.
constexpr std::array buttons{"A", "B",     "X",      "Y",  "L",    "R",    "Z",
                             "C", "Start", "Select", "Up", "Down", "Left", "Right"};
constexpr std::array verbs{
    "jump over", "climb", "open",        "collect",    "defeat",  "push",      "pull",    "destroy",
    "unlock",    "use",   "grab",        "activate",   "follow",  "avoid",     "shoot",   "light",
    "break",     "carry", "throw",       "swim past",  "examine", "turn",      "repair",  "burn",
    "freeze",    "ring",  "hide behind", "ride",       "search",  "dig under", "kick",    "blow up",
    "inspect",   "roll",  "stand on",    "sneak past", "smash",   "ignite",    "pick up", "drop"};
constexpr std::array kinds{"rusty",  "golden",  "blue",    "red",   "hidden",  "broken", "heavy",   "wooden",
                           "silver", "ancient", "small",   "large", "burning", "frozen", "cracked", "glowing",
                           "iron",   "stone",   "crystal", "green", "cursed",  "loose"};
constexpr std::array objects{"key",      "door",       "chest",    "switch", "lever",   "map",      "sword",
                             "crystal",  "gate",       "elevator", "statue", "torch",   "crate",    "bridge",
                             "idol",     "spell book", "rope",     "ladder", "barrel",  "painting", "mirror",
                             "altar",    "wall",       "pillar",   "cannon", "boat",    "wheel",    "bell",
                             "fountain", "skull",      "shield",   "bow",    "lantern", "scroll",   "potion",
                             "ring",     "amulet",     "helmet",   "armor",  "valve"};
constexpr std::array rooms{"water temple", "fire temple",   "forest",          "castle",   "village",
                           "dungeon",      "tower",         "sewers",          "ice cave", "desert ruins",
                           "harbor",       "space station", "haunted mansion", "mine",     "volcano",
                           "throne room",  "library",       "lighthouse",      "swamp",    "caf\xE9",
                           "cellar",       "graveyard",     "arena",           "bazaar",   "canyon",
                           "factory",      "laboratory",    "monastery",       "prison",   "observatory"};
constexpr std::array sides{"northern", "southern", "eastern", "western", "flooded", "upper",
                           "lower",    "old",      "great",   "second",  "inner",   "outer"};
constexpr std::array enemies{"dragon", "guard",  "spider",     "ghost", "robot",  "skeleton", "knight",
                             "sniper", "wizard", "giant crab", "bat",   "zombie", "pirate",   "golem",
                             "mummy",  "ninja",  "tank",       "witch", "troll",  "wolf"};
constexpr std::array actions{"sees you",  "attacks",        "turns around",    "falls asleep",
                             "runs away", "calls for help", "closes the gate", "jumps",
                             "teleports", "throws a bomb"};
constexpr std::array effects{"god mode",      "all weapons",   "infinite ammo",      "unlimited lives",
                             "level select",  "invincibility", "full health",        "all keys",
                             "big head mode", "no clipping",   "skipping the level", "maximum money",
                             "all cars",      "super speed",   "low gravity",        "all maps",
                             "slow motion",   "every costume", "infinite magic",     "a flying car"};
constexpr std::array weapons{"fire arrows",      "the hammer",    "bombs",     "ice magic",    "the shotgun",
                             "the silver sword", "the boomerang", "lightning", "the crossbow", "grenades"};
constexpr std::array items{"coins",     "gems",  "stars",    "keys",   "feathers",
                           "mushrooms", "rings", "crystals", "skulls", "batteries"};
constexpr std::array code_parts{"GOLD", "MAX",  "POWER", "RAIN", "BOW",  "FLY",   "HEAD", "KEY",  "LIFE",
                                "AMMO", "ZAP",  "NOVA",  "MOON", "DUST", "ROCK",  "STAR", "WARP", "TANK",
                                "BLUE", "FAST", "HERO",  "JUMP", "WALL", "GHOST", "LUCK", "OMEGA"};

std::string code(Random& r) {
    std::string c = join({pick(r, code_parts), pick(r, code_parts)});
    if (r.below(2) == 0) c += std::to_string(r.below(1000));
    return c;
}
// "the rusty key", "the bell"
std::string thing(Random& r) {
    return r.below(2) ? join({"the ", pick(r, kinds), " ", pick(r, objects)})
                      : join({"the ", pick(r, objects)});
}
// "the flooded cellar", "the tower"
std::string room(Random& r) {
    return r.below(2) ? join({"the ", pick(r, sides), " ", pick(r, rooms)}) : join({"the ", pick(r, rooms)});
}
std::string number(Random& r, std::size_t below) {
    return std::to_string(1 + r.below(below));
}

std::string sentence(Random& r) {
    switch (r.below(16)) {
    case 0:
        return join({"Press ", pick(r, buttons), " to ", pick(r, verbs), " ", thing(r), "."});
    case 1:
        return join({pick(r, std::array{"When", "After", "Once", "Before"}), " you reach ", room(r), ", ",
                     pick(r, verbs), " ", thing(r), "."});
    case 2:
        return join({"Enter the code ", code(r), " to get ", pick(r, effects), "."});
    case 3:
        return join({"Type ", code(r), " during play for ", pick(r, effects), "."});
    case 4:
        return join({"Hold ", pick(r, buttons), " and press ", pick(r, buttons), ", ", pick(r, buttons),
                     " to ", pick(r, verbs), " ", thing(r), "."});
    case 5:
        return join({"In ", room(r), ", ", pick(r, verbs), " ", thing(r), " before the ", pick(r, enemies),
                     " ", pick(r, actions), "."});
    case 6:
        return join({"The ", pick(r, enemies), " in ", room(r), " is weak against ", pick(r, weapons), "."});
    case 7:
        return join({"There is a secret room behind ", thing(r), " in ", room(r), "."});
    case 8:
        return join({"Go ", pick(r, std::array{"north", "south", "east", "west", "upstairs", "downstairs"}),
                     " from ", room(r), " and ", pick(r, verbs), " ", thing(r), " on level ", number(r, 40),
                     "."});
    case 9:
        return join({"Wait ", number(r, 90), " seconds on ", thing(r), " until the ", pick(r, enemies), " ",
                     pick(r, actions), "."});
    case 10:
        return join(
            {"You need ", number(r, 250), " ", pick(r, items), " to ", pick(r, verbs), " ", thing(r), "."});
    case 11:
        return join({"Talk to ", pick(r, heroes), " in ", room(r), " ", number(r, 5), " times to get ",
                     thing(r), "."});
    case 12:
        return join({"Hit the ", pick(r, enemies), " ", number(r, 20), " times with ", pick(r, weapons),
                     ", then ", pick(r, verbs), " ", thing(r), "."});
    case 13:
        return join({"Save before ", room(r), ": the ", pick(r, enemies), " there ", pick(r, actions),
                     " after ", number(r, 60), " seconds."});
    case 14:
        return join({"Collect ", number(r, 100), " ", pick(r, items), " in ", room(r), " for ",
                     pick(r, effects), "."});
    default:
        return join({"Jump across the platforms at ", number(r, 999), ", ", number(r, 999), ", then ",
                     pick(r, verbs), " ", thing(r), " to save the game."});
    }
}

// Paragraphs of sentences in lines of about 60 characters, and lists of codes, up to `size` bytes.
std::string text(Random& r, std::size_t size) {
    std::string t;
    std::size_t line = 0;
    while (t.size() < size) {
        if (r.below(12) == 0) { // a list of codes, each on its line, the text going on below it
            if (!t.empty()) t += "\r\n\r\n";
            for (std::size_t n = 2 + r.below(4); n > 0; --n)
                t += join({code(r), " - ", pick(r, effects), n > 1 ? "\r\n" : ""});
            line = 61;
            continue;
        }
        const std::string said = sentence(r);
        std::string_view words = said;
        while (!words.empty()) {
            const std::size_t cut = std::min(words.find(' '), words.size());
            const std::string_view w = words.substr(0, cut);
            if (line + w.size() > 60) {
                t += "\r\n";
                line = 0;
            } else if (line > 0) {
                t += ' ';
                ++line;
            }
            t += w;
            line += w.size();
            words.remove_prefix(std::min(cut + 1, words.size()));
        }
    }
    return t;
}

// A name for addresses and files: "water-temple-17".
std::string slug(Random& r) {
    std::string s = join({pick(r, rooms), "-", std::to_string(r.below(1000))});
    std::replace(s.begin(), s.end(), ' ', '-');
    return s;
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
    constexpr std::array types{"Cheats",  "Hints",       "Walkthrough", "Codes",
                               "Secrets", "Easter eggs", "Unlockables", "Glitches"};
    for (std::uint8_t n = 1; n <= types.size(); ++n)
        out.db.info_types.push_back({n, types[n - 1]});

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
        // Further names are often the first one's short form ("IR2"), as lists hold them.
        const Title first = distinct_title(r, taken);
        g.names = first.text;
        for (std::size_t n = 1; n < name_counts[i]; ++n) {
            const bool short_form = n == 1 && first.short_form.size() >= 3 && r.below(3) == 0;
            g.names += "\r\n" + (short_form && take(taken, first.short_form) ? first.short_form
                                                                             : distinct_title(r, taken).text);
        }
        for (std::size_t e = 1 + r.below(4); e > 0; --e) {
            BlockInfo info;
            if (r.below(5) == 0)
                info.name = join({"Notes on ", room(r)});
            else
                info.type_number = static_cast<std::uint8_t>(1 + r.below(8));
            // Sizes from 0.5 KB to 20 KB, small ones more often, as in real databases.
            info.text = text(r, static_cast<std::size_t>(500.0 * std::exp(r.unit() * std::log(40.0))));
            g.infos.push_back(std::move(info));
        }
        if (r.below(4) == 0)
            g.files.push_back({"http://files.trickvault.example/" + slug(r) + ".zip",
                               std::to_string(1 + r.below(900)) + " KB", join({"Savegame before ", room(r)}),
                               text(r, 80)});
        if (r.below(3) == 0)
            g.homepages.push_back({join({"http://www.", slug(r), ".example/"}),
                                   join({title(r).text, " fan site"}), text(r, 60)});
        out.db.games.push_back(compile_game(g));
    }
    return out;
}

} // namespace tkv

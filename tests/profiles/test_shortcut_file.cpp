// The shortcut files' contents and names, and launchers that really start the program.

#include "profiles/shortcut_file.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "shell/files.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// The value of a key of a desktop entry, as written (escapes kept).
std::optional<std::string> entry_value(const std::string& text, const std::string& key) {
    const std::string start = key + "=";
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        const std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (line.starts_with(start)) return line.substr(start.size());
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    return std::nullopt;
}

// A value of type string with its escapes undone.
std::string unescaped_string(const std::string& value) {
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            unescaped += value[i];
            continue;
        }
        if (++i == value.size()) {
            ADD_FAILURE() << "a backslash ends the value";
            break;
        }
        switch (value[i]) {
        case 's':
            unescaped += ' ';
            break;
        case 'n':
            unescaped += '\n';
            break;
        case 't':
            unescaped += '\t';
            break;
        case 'r':
            unescaped += '\r';
            break;
        case '\\':
            unescaped += '\\';
            break;
        default:
            ADD_FAILURE() << "unknown escape \\" << value[i];
        }
    }
    return unescaped;
}

// An Exec value read the way desktops read launcher files: first the escapes of string
// values, then the quoting rules and the field codes ("%%" is a "%"; this test's launchers use no
// other). Fails the test on anything a conforming launcher would reject.
std::vector<std::string> parse_exec(const std::string& value) {
    const std::string unescaped = unescaped_string(value);
    const std::string reserved = "\t\n\"'\\><~|&;$*?#()`";
    std::vector<std::string> words;
    std::string word;
    bool in_word = false;
    bool quoted = false;
    for (std::size_t i = 0; i < unescaped.size(); ++i) {
        const char c = unescaped[i];
        if (c == '%') {
            if (i + 1 < unescaped.size() && unescaped[i + 1] == '%')
                ++i;
            else
                ADD_FAILURE() << "a field code in " << unescaped;
            word += '%';
            in_word = true;
        } else if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < unescaped.size() &&
                       std::string("\"`$\\").find(unescaped[i + 1]) != std::string::npos) {
                word += unescaped[++i];
            } else {
                if (c == '\\' || c == '`' || c == '$') ADD_FAILURE() << "unescaped " << c << " in quotes";
                word += c;
            }
        } else if (c == ' ') {
            if (in_word) words.push_back(word);
            word.clear();
            in_word = false;
        } else if (c == '"') {
            quoted = in_word = true;
        } else {
            if (reserved.find(c) != std::string::npos) ADD_FAILURE() << "unquoted reserved " << c;
            word += c;
            in_word = true;
        }
    }
    EXPECT_FALSE(quoted) << "an unterminated quote";
    if (in_word) words.push_back(word);
    return words;
}

// Texts that the quoting has to carry unchanged.
const std::vector<std::string> awkward_texts = {
    "Doom",           "two  blanks",    "say \"hi\"",     "$HOME and ${x}",
    "`id`",           "100% %f %%",     R"(back\slash\)", "it's; a & b | c > d < e ~ * ? # ( )",
    "Pok\xC3\xA9mon", " leading blank",
};

Shortcut profile_shortcut() {
    return {ShortcutKind::profile,
            "PC Windows  DOS",
            "/opt/trickvault/trickvault",
            "/opt/trickvault/",
            "Run Trickvault and load profile: PC: Windows / DOS",
            "pc",
            ""};
}

Shortcut game_shortcut() {
    return {ShortcutKind::game,
            "Doom",
            "/opt/trickvault/trickvault",
            "/opt/trickvault/",
            "Run Trickvault and show the folowing game's information: Doom",
            "pc",
            "Doom"};
}

TEST(ShortcutName, RemovesForbiddenCharactersThenTrimsBlanks) {
    struct {
        const char* name;
        const char* cleaned;
    } const cases[] = {
        {"PC: Windows / DOS", "PC Windows  DOS"},
        {"  Doom  ", "Doom"},
        {"a\"b*c/d:e<f>g?h\\i|j", "abcdefghij"},
        {"\tTab\x01 and\x1f line\r\nbreak ", "Tab and linebreak"},
        {": Quake :", "Quake"}, // the blanks are trimmed after the removal
        {"Pok\xC3\xA9mon Red & Blue (1996)", "Pok\xC3\xA9mon Red & Blue (1996)"},
        {" :/\\|* ", ""},
        {"", ""},
    };
    for (const auto& k : cases)
        EXPECT_EQ(clean_shortcut_name(k.name), k.cleaned) << k.name;
}

TEST(ShortcutFile, ProfileAndGameEntries) {
    EXPECT_EQ(shortcut_file_text(profile_shortcut()),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=PC Windows  DOS\n"
              "Comment=Run Trickvault and load profile: PC: Windows / DOS\n"
              "Exec=\"/opt/trickvault/trickvault\" \"/profile=pc\"\n"
              "Path=/opt/trickvault/\n"
              "Icon=trickvault-profile\n"
              "Terminal=false\n");
    EXPECT_EQ(shortcut_file_text(game_shortcut()),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Doom\n"
              "Comment=Run Trickvault and show the folowing game's information: Doom\n"
              "Exec=\"/opt/trickvault/trickvault\" \"/profile=pc\" \"/game=Doom\"\n"
              "Path=/opt/trickvault/\n"
              "Icon=trickvault-game\n"
              "Terminal=false\n");
}

TEST(ShortcutFile, ExecLineQuotesEachArgumentForTheDesktop) {
    struct {
        const char* argument;
        const char* in_file; // after quoting and the string escapes
    } const cases[] = {
        {"/game=Doom", R"("/game=Doom")"},
        {"say \"hi\"", R"("say \\"hi\\"")"},
        {"$HOME `id`", R"("\\$HOME \\`id\\`")"},
        {R"(C:\x)", R"("C:\\\\x")"},
        {"100%", R"("100%%")"},
    };
    for (const auto& k : cases)
        EXPECT_EQ(desktop_string(exec_quoted(k.argument)), k.in_file) << k.argument;

    // Whatever the texts, a desktop reads back exactly the program and the arguments.
    for (const std::string& text : awkward_texts) {
        Shortcut s = game_shortcut();
        s.program_path = "/opt/" + text + "/trickvault";
        s.profile_id = text;
        s.game = text;
        const std::optional<std::string> exec = entry_value(shortcut_file_text(s), "Exec");
        ASSERT_TRUE(exec.has_value());
        EXPECT_EQ(parse_exec(*exec),
                  (std::vector<std::string>{s.program_path, "/profile=" + text, "/game=" + text}))
            << text;
    }
}

TEST(ShortcutFile, StringValuesKeepLineBreaksTabsAndALeadingBlankInEscapes) {
    EXPECT_EQ(desktop_string(" a\tb\r\nc\\d "), "\\sa\\tb\\r\\nc\\\\d ");
    Shortcut s = profile_shortcut();
    s.comment = "Run Trickvault and load profile: two\r\nlines";
    s.working_folder = " /odd\\folder/";
    const std::string text = shortcut_file_text(s);
    EXPECT_EQ(entry_value(text, "Comment"), "Run Trickvault and load profile: two\\r\\nlines");
    EXPECT_EQ(entry_value(text, "Path"), "\\s/odd\\\\folder/");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8); // one line per key
}

TEST(ShortcutFile, PathIsTheFolderAndTheNameWithItsExtension) {
    EXPECT_EQ(shortcut_file_path("/home/u/Desktop", "Doom"), "/home/u/Desktop/Doom.desktop");
    EXPECT_EQ(shortcut_file_path("/home/u/Desktop/", "PC Windows  DOS"),
              "/home/u/Desktop/PC Windows  DOS.desktop");
}

TEST(ShortcutFile, WriteCreatesAnExecutableLauncherAndReplacesAnOldOne) {
    TempDir dir;
    const std::string folder = dir.path("new/applications");
    const std::string path = folder + "/Doom.desktop";
    ASSERT_TRUE(write_shortcut_file(folder, profile_shortcut() /* named PC Windows  DOS */));
    dir.write("new/applications/Doom.desktop",
              "an older launcher, longer than the new one ......................"
              "................................................................"
              "................................................................"
              "................................................................");
    ::chmod(path.c_str(), 0600);

    ASSERT_TRUE(write_shortcut_file(folder, game_shortcut()));
    EXPECT_EQ(TempDir::read_file(path), shortcut_file_text(game_shortcut()));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
    // Nothing else is left in the folder: no temporary file.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Doom.desktop", "PC Windows  DOS.desktop"}));
}

TEST(ShortcutFile, WriteFailsWhereNoFileCanBe) {
    TempDir dir;
    const std::string file = dir.write("plain-file", "not a folder");
    EXPECT_FALSE(write_shortcut_file(file + "/sub", game_shortcut()));
    EXPECT_FALSE(write_shortcut_file(file, game_shortcut()));
    // A folder in the launcher's place is not replaced.
    fs::create_directories(dir.path("apps/Doom.desktop"));
    EXPECT_FALSE(write_shortcut_file(dir.path("apps"), game_shortcut()));
    EXPECT_TRUE(folder_exists(dir.path("apps/Doom.desktop")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path("apps")), fs::directory_iterator()), 1);
    // Nor is the program's own desktop entry, which opens its file types.
    Shortcut own = game_shortcut();
    own.name = "trickvault";
    const std::string entry = dir.write("apps/trickvault.desktop", "[Desktop Entry]\nName=Trickvault\n");
    EXPECT_FALSE(write_shortcut_file(dir.path("apps"), own));
    EXPECT_EQ(TempDir::read_file(entry), "[Desktop Entry]\nName=Trickvault\n");
}

TEST(ShortcutIcon, EachKindInstallsThePictureItsLauncherNames) {
    TempDir dir;
    const std::string icons = dir.path("icons/hicolor/scalable/apps");
    for (const Shortcut& s : {profile_shortcut(), game_shortcut()}) {
        const std::optional<std::string> icon = entry_value(shortcut_file_text(s), "Icon");
        ASSERT_TRUE(icon.has_value());
        ASSERT_TRUE(install_shortcut_icon(icons, s.kind));
        const std::string svg = TempDir::read_file(icons + "/" + *icon + ".svg");
        EXPECT_EQ(svg, shortcut_icon_svg(s.kind));
        EXPECT_TRUE(svg.starts_with("<svg xmlns=\"http://www.w3.org/2000/svg\"")) << svg;
        EXPECT_TRUE(svg.ends_with("</svg>\n"));
    }
    EXPECT_NE(shortcut_icon_svg(ShortcutKind::profile), shortcut_icon_svg(ShortcutKind::game));

    // A changed picture is put right; a folder that cannot be is reported.
    dir.write("icons/hicolor/scalable/apps/trickvault-game.svg", "<svg/>");
    ASSERT_TRUE(install_shortcut_icon(icons, ShortcutKind::game));
    EXPECT_EQ(TempDir::read_file(icons + "/trickvault-game.svg"), shortcut_icon_svg(ShortcutKind::game));
    EXPECT_FALSE(install_shortcut_icon(dir.write("plain-file", "x") + "/apps", ShortcutKind::game));
}

TEST(ShortcutPlaces, APickedFolderIsADesktopOrMenuPlaceWhenItIsThatFolder) {
    TempDir dir;
    fs::create_directories(dir.path("Desktop"));
    fs::create_directories(dir.path("share/applications"));
    fs::create_directory_symlink(dir.path("Desktop"), dir.path("desk-link"));
    const ShortcutFolders folders{dir.path("Desktop"), dir.folder() + "share/applications/"};
    struct {
        std::string picked;
        ShortcutPlace place;
    } const cases[] = {
        {dir.path("Desktop"), ShortcutPlace::desktop},
        {dir.path("Desktop") + "/", ShortcutPlace::desktop},
        {dir.folder() + "./share/../Desktop//", ShortcutPlace::desktop},
        {dir.path("desk-link"), ShortcutPlace::desktop},
        {dir.path("share/applications"), ShortcutPlace::start_menu},
        {dir.path("share"), ShortcutPlace::folder},
        {dir.path("Desktop/sub"), ShortcutPlace::folder},
        {dir.path("Desktop2"), ShortcutPlace::folder},
        {"/", ShortcutPlace::folder},
    };
    for (const auto& k : cases)
        EXPECT_EQ(place_of_folder(folders, k.picked), k.place) << k.picked;
    EXPECT_EQ(place_of_folder({"", ""}, "/tmp"), ShortcutPlace::folder);

    EXPECT_EQ(folder_of_place(folders, ShortcutPlace::desktop, "/x"), folders.desktop);
    EXPECT_EQ(folder_of_place(folders, ShortcutPlace::start_menu, "/x"), folders.start_menu);
    EXPECT_EQ(folder_of_place(folders, ShortcutPlace::folder, "/x"), "/x");
}

// A stand-in for the program: writes its working folder and then each argument on a line of its
// own into run.txt beside itself.
std::string write_stand_in(const TempDir& dir, const std::string& name) {
    const std::string path = dir.write(name, "#!/bin/sh\n"
                                             "out=\"$(dirname \"$0\")/run.txt\"\n"
                                             "pwd -P > \"$out\"\n"
                                             "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out\"; done\n");
    ::chmod(path.c_str(), 0755);
    return path;
}

// Starts the launcher's Exec line in its Path folder, as a desktop does, and waits for it.
void run_launcher(const std::string& desktop_file) {
    const std::string text = TempDir::read_file(desktop_file);
    const std::optional<std::string> exec = entry_value(text, "Exec");
    const std::optional<std::string> path = entry_value(text, "Path");
    ASSERT_TRUE(exec && path);
    const std::vector<std::string> words = parse_exec(*exec);
    ASSERT_FALSE(words.empty());
    const std::string folder = unescaped_string(*path);
    std::vector<char*> argv;
    for (const std::string& w : words)
        argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::chdir(folder.c_str()) == 0) ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(ShortcutFile, TheLauncherStartsTheProgramOnItsProfileAndGame) {
    struct {
        std::string program_folder; // where the stand-in lives
        std::string game;
    } const cases[] = {
        {"bin", "Doom"},
        {"my \"games\" $HOME `x` 100% back\\slash", "Tom's \"Ace\" $PATH `id` 50% \\o/ & more"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.program_folder);
        TempDir dir;
        Shortcut s = game_shortcut();
        s.program_path = write_stand_in(dir, k.program_folder + "/trickvault");
        s.working_folder = dir.folder() + "home/";
        s.game = k.game;
        fs::create_directories(s.working_folder);
        ASSERT_TRUE(write_shortcut_file(dir.path("Desktop"), s));
        run_launcher(shortcut_file_path(dir.path("Desktop"), "Doom"));
        EXPECT_EQ(TempDir::read_file(dir.path(k.program_folder + "/run.txt")),
                  fs::canonical(s.working_folder).string() + "\n/profile=pc\n/game=" + k.game + "\n");
    }
}

} // namespace
} // namespace tkv

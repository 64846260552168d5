// tkv publish: the tree of a program folder with the demo profile and a test skin, read back with
// the program's own readers, and served by a real web server.

#include "appearance/captions.h"
#include "appearance/skin_file.h"
#include "cli/staged_folder.h"
#include "cli/tkv.h"
#include "database/database_files.h"
#include "database/record_codec.h"
#include "internet/download_rules.h"
#include "internet/server_list.h"
#include "platform/http_client.h"
#include "profiles/profile_download.h"
#include "profiles/profile_table.h"
#include "shell/bytestream.h"
#include "shell/numbers.h"
#include "shell/zip_extract.h"
#include "support/demo_editions.h"
#include "support/peers.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <sstream>

namespace tkv {
namespace {

namespace fs = std::filesystem;

struct Result {
    int code;
    std::string out, err;
};

const std::string jpeg = "\xFF\xD8\xFF\xE0 a tiny picture \xFF\xD9";

// A program folder with the demo profile (and a file of its own) and the Ocean test skin with a
// main window picture.
class Publish : public testing::Test {
  protected:
    test::TempDir home, place;

    void SetUp() override {
        ASSERT_EQ(run({"build", TKV_TEST_DATA "/../../data/demo", home.path("profiles/demo")}).code,
                  cli::exit_ok);
        home.write("profiles/demo/files/saves/gta-sa-100-percent.zip", "PK saved game");
        home.write("profiles/demo/user.dat", "the user's own, never published");
        fs::create_directories(home.path("skins"));
        fs::copy(TKV_TEST_DATA "/skins/Ocean", home.path("skins/Ocean"), fs::copy_options::recursive);
        home.write("skins/Ocean/Main.JPG", jpeg);
    }

    Result run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.folder()});
        std::ostringstream out, err;
        const int code = cli::run(args, out, err);
        return {code, out.str(), err.str()};
    }

    std::string out() const { return place.folder() + "www/"; }
    std::string served(const std::string& path) const { return test::TempDir::read_file(out() + path); }
    Result publish(const std::string& base = "http://127.0.0.1:8000/") {
        return run({"publish", "--base", base, place.path("www")});
    }

    GameDatabase demo_games() const {
        GameDatabase db;
        DateTime date;
        u_progress_dat_load_main(db, home.path("profiles/demo/main.dat"), date);
        return db;
    }
};

// The text after the length-prefixed name, which must be there.
std::string body_of(const std::string& resource, std::string_view name) {
    const auto body = named_resource_body(resource, name);
    EXPECT_TRUE(body) << name;
    return body.value_or("");
}

TEST_F(Publish, TextResourcesReadBackAsTheProgramReadsThem) {
    const Result r = publish("http://127.0.0.1:8123/tkv/");
    ASSERT_EQ(r.code, cli::exit_ok) << r.err;

    const auto servers = text_resource_body(served("information/tkv_servers.tku"));
    ASSERT_TRUE(servers);
    const DownloadedServerList list = process_downloaded_list_of_servers(*servers, "http://main.example/");
    EXPECT_TRUE(list.updated);
    EXPECT_EQ(list.servers, std::vector<std::string>{"http://127.0.0.1:8123/tkv/"});

    EXPECT_EQ(text_resource_body(served("information/tkv_version.tku")), "Latest Version=3.50\r\n");
    Captions captions;
    captions_reset(captions);
    EXPECT_EQ(text_resource_body(served("versions/default.tku")),
              "[3.50]\r\n" + captions[758] + "\r\n[#END#]\r\n");

    const auto profiles = text_resource_body(served("information/tkv_profiles.tku"));
    ASSERT_TRUE(profiles);
    const std::vector<DOWNPROS_TYPE> offered = profiles_new_parser(*profiles);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].id, "demo");
    EXPECT_EQ(offered[0].name, "Demo games");
    EXPECT_EQ(offered[0].language, "English");
    EXPECT_EQ(offered[0].size, static_cast<std::int32_t>(fs::file_size(out() + "profiles/demo/demo.tkvp")));
    EXPECT_EQ(format_date(offered[0].last_update), "20261201");
}

TEST_F(Publish, ProfileArchiveInstallsAsTheDownloadExpects) {
    ASSERT_EQ(publish().code, cli::exit_ok);
    test::TempDir program;
    const ZipExtractResult unpacked =
        zip_extract(out() + "profiles/demo/demo.tkvp", program.folder() + "profiles/", "*.*", {});
    ASSERT_TRUE(unpacked.ok) << unpacked.error;
    ProfileTable table;
    profiles_ini_load(table, program.folder());
    ASSERT_EQ(table.profiles.size(), 1u);
    EXPECT_EQ(table.profiles[0].id, "demo");
    EXPECT_EQ(program.read("profiles/demo/main.dat"), home.read("profiles/demo/main.dat"));
    EXPECT_EQ(program.read("profiles/demo/files/saves/gta-sa-100-percent.zip"), "PK saved game");
    EXPECT_FALSE(fs::exists(program.path("profiles/demo/user.dat")));
    // The server keeps the files for addresses whose local copy is missing.
    EXPECT_EQ(served("profiles/demo/files/saves/gta-sa-100-percent.zip"), "PK saved game");
}

TEST_F(Publish, UpgradeResourcesMatchMainDat) {
    ASSERT_EQ(publish().code, cli::exit_ok);
    const GameDatabase db = demo_games();
    ASSERT_GT(db.games.size(), 30u);

    MemoryStream list{body_of(served("profiles/demo/list.tkv"), "TRICKVAULT350GAMELIST")};
    std::int32_t previous = 0;
    std::map<std::int32_t, std::int32_t> revisions;
    for (std::int32_t id = 0, revision = 0; stream_read_u32(list, id) && id > 0;) {
        ASSERT_TRUE(stream_read_u32(list, revision));
        EXPECT_GT(id, previous);
        previous = id;
        revisions[id] = revision;
    }
    EXPECT_TRUE(list.at_end());
    ASSERT_EQ(revisions.size(), db.games.size());

    MemoryStream types{body_of(served("profiles/demo/informationtypes.tkv"), "TRICKVAULT350GAMEIT")};
    std::vector<INFO_TYPE_ENTRY> read_types;
    for (std::uint16_t w = 0; stream_read_u16(types, w) && w != 0;) {
        INFO_TYPE_ENTRY t{static_cast<std::uint8_t>(w >> 8), {}};
        ASSERT_TRUE(stream_read_bytes(types, t.type_name, w & 0xFF));
        read_types.push_back(t);
    }
    EXPECT_EQ(types.data.size() - types.pos, 1u);
    ASSERT_EQ(read_types.size(), db.info_types.size());
    for (std::size_t i = 0; i < read_types.size(); ++i) {
        EXPECT_EQ(read_types[i].type_number, db.info_types[i].type_number);
        EXPECT_EQ(read_types[i].type_name, db.info_types[i].type_name);
    }

    for (const GAMES2_ARRAY_TYPE& game : db.games) {
        const std::string file = "profiles/demo/information/" + format_int_padded(game.id, 5) + ".dat";
        MemoryStream record{body_of(served(file), "TRICKVAULT350GAMEDATA")};
        GameDatabase one;
        one.info_types = db.info_types;
        GAMES2_ARRAY_TYPE& g = one.games.emplace_back();
        std::uint16_t names_length = 0;
        std::int32_t data_length = 0;
        ASSERT_TRUE(stream_read_u32(record, g.id) && stream_read_u16(record, names_length) &&
                    stream_read_bytes(record, g.names, names_length) &&
                    stream_read_u32(record, data_length) &&
                    stream_read_bytes(record, g.data, static_cast<std::size_t>(data_length)) &&
                    stream_read_u32(record, g.revision))
            << file;
        EXPECT_EQ(record.data.size() - record.pos, 1u) << file;
        EXPECT_EQ(g.id, game.id);
        EXPECT_EQ(g.names, game.names);
        EXPECT_EQ(g.data, game.data);
        EXPECT_EQ(g.revision, revisions[game.id]);
        EXPECT_EQ(g.revision, game.revision);
        GAMES2_TEMP_ARRAY_TYPE expanded;
        EXPECT_EQ(games_uncompress_data(one, 0, false, expanded), 0) << file;
        EXPECT_FALSE(expanded.infos.empty()) << file;
    }
}

TEST_F(Publish, SkinCatalogueNamesAnArchiveThatInstallsUnderItsKey) {
    ASSERT_EQ(publish().code, cli::exit_ok);
    MemoryStream catalogue{body_of(served("information/tkv_skins.tku"), "TRICKVAULT350SKINLIST")};
    std::int32_t number = 0;
    ASSERT_TRUE(stream_read_u32(catalogue, number));
    EXPECT_EQ(number, 1);
    std::map<int, std::string> fields;
    for (std::uint8_t type = 0; stream_read_u8(catalogue, type) && type != 0;) {
        std::uint8_t length = 0;
        ASSERT_TRUE(stream_read_u8(catalogue, length) && stream_read_bytes(catalogue, fields[type], length));
    }
    ASSERT_TRUE(stream_read_u32(catalogue, number));
    EXPECT_EQ(number, 0);
    EXPECT_EQ(fields[1], "ocean");
    EXPECT_EQ(fields[4], "Oc\xE9"
                         "an Blue");
    EXPECT_EQ(fields[5], "Kis Anna");
    EXPECT_EQ(fields[8], "1.2 Beta");
    EXPECT_EQ(fields[9], "3.50");
    EXPECT_EQ(fields[2], std::to_string((fs::file_size(out() + "skins/0001_ocean.tkvs") + 1023) / 1024));
    EXPECT_EQ(fields[3].size(), 8u);
    const int rating = std::stoi(fields[10]);
    EXPECT_TRUE(rating >= 100 && rating <= 500) << fields[10];

    EXPECT_EQ(served("skins/0001_ocean.jpg"), jpeg);
    test::TempDir program;
    const ZipExtractResult unpacked =
        zip_extract(out() + "skins/0001_ocean.tkvs", program.folder() + "skins/", "*.*", {});
    ASSERT_TRUE(unpacked.ok) << unpacked.error;
    const SKINS_TYPE built_in = skins_setdefault({});
    const auto installed = skins_load(program.folder() + "skins/", "0001_ocean", built_in);
    const auto original = skins_load(home.folder() + "skins/", "Ocean", built_in);
    ASSERT_TRUE(installed && original);
    EXPECT_EQ(installed->name, original->name);
    EXPECT_EQ(installed->fonts.size(), original->fonts.size());
    EXPECT_EQ(program.read("skins/0001_ocean/Extra/Deep.otf"), home.read("skins/Ocean/Extra/Deep.otf"));
}

TEST_F(Publish, PublishingAgainReplacesTheWholeTree) {
    ASSERT_EQ(publish("http://old.example/").code, cli::exit_ok);
    fs::remove_all(home.path("skins"));
    ASSERT_EQ(publish("http://new.example/").code, cli::exit_ok);
    EXPECT_EQ(served("information/tkv_servers.tku"), ";Trickvault\r\nhttp://new.example/\r\n");
    EXPECT_FALSE(fs::exists(out() + "skins/0001_ocean.tkvs"));
    EXPECT_EQ(body_of(served("information/tkv_skins.tku"), "TRICKVAULT350SKINLIST"), std::string(4, '\0'));
    EXPECT_EQ(fs::status(out()).permissions() & fs::perms::others_read, fs::perms::others_read);
    // Nothing of the work is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(place.folder()), fs::directory_iterator()), 1);
}

TEST_F(Publish, BadInputFailsAndChangesNothing) {
    ASSERT_EQ(publish("http://first.example/").code, cli::exit_ok);
    const std::string first = served("information/tkv_servers.tku");
    const std::string main_dat = home.read("profiles/demo/main.dat");
    test::TempDir other;
    const struct {
        const char* what;
        std::function<Result()> attempt;
        int code;
        const char* message;
    } cases[] = {
        {"a cut main.dat",
         [&] {
             home.write("profiles/demo/main.dat", main_dat.substr(0, main_dat.size() - 20));
             return publish();
         },
         cli::exit_failed, "main.dat"},
        {"a main.dat without a profile header",
         [&] {
             home.write("profiles/demo/main.dat", "\x03"
                                                  "abc");
             return publish();
         },
         cli::exit_failed, "no valid profile header"},
        {"two profiles with one id",
         [&] {
             home.write("profiles/demo/main.dat", main_dat);
             home.write("profiles/demo2/main.dat", main_dat);
             return publish();
         },
         cli::exit_failed, "the same id"},
        {"a missing home",
         [&] {
             std::ostringstream o, e;
             const int code = cli::run({"--home", other.path("nothing"), "publish", place.path("www")}, o, e);
             return Result{code, o.str(), e.str()};
         },
         cli::exit_failed, "does not exist"},
        {"a base that is no server address", [&] { return publish("ftp://x.example/"); }, cli::exit_usage,
         "--base"},
        {"no output folder",
         [&] {
             return run({"publish", "--base", "http://x.example/"});
         },
         cli::exit_usage, "usage"},
    };
    for (const auto& c : cases) {
        const Result r = c.attempt();
        EXPECT_EQ(r.code, c.code) << c.what;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.what << ": " << r.err;
        EXPECT_EQ(served("information/tkv_servers.tku"), first) << c.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(place.folder()), fs::directory_iterator()), 1)
            << c.what;
    }
}

TEST_F(Publish, OutputThatIsNotAPublicationIsLeftAlone) {
    place.write("mine/notes.txt", "precious");
    place.write("file", "a file");
    const std::pair<std::string, const char*> outputs[] = {
        {place.path("mine"), "nor an earlier publication"},
        {place.path("file"), "nor an earlier publication"},
        {place.path("file") + "/www", "cannot create"},
    };
    for (const auto& [output, message] : outputs) {
        const Result r = run({"publish", output});
        EXPECT_EQ(r.code, cli::exit_failed) << output;
        EXPECT_NE(r.err.find(message), std::string::npos) << output << ": " << r.err;
    }
    EXPECT_EQ(place.read("mine/notes.txt"), "precious");
    EXPECT_EQ(place.read("file"), "a file");
    EXPECT_EQ(std::distance(fs::directory_iterator(place.folder()), fs::directory_iterator()), 2);
}

// Every file below folder with its bytes.
std::map<std::string, std::string> files_of(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder).generic_string()] =
                test::TempDir::read_file(entry.path().string());
    return files;
}

std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(PublishAgain, WritesOnlyWhatChangedAndEqualsAFullPublication) {
    // The installed edition and the publisher's newer one (game 1 and 2 changed, 41 added, a new
    // information type) published in turn into one folder.
    test::DemoEditions e;
    const std::string served = e.site.path("served");
    const auto publish = [&](const test::TempDir& home, const std::string& out, bool full) {
        std::vector<std::string> args{"publish", "--base", "http://x.example/", out};
        if (full) args.insert(args.begin() + 1, "--full");
        const test::TkvResult r = test::run_tkv(home.folder(), args);
        EXPECT_EQ(r.code, cli::exit_ok) << r.err;
        return r.out;
    };
    const auto inode = [&](const std::string& file) {
        struct stat s {};
        ::stat((served + "/" + file).c_str(), &s);
        return s.st_ino;
    };
    const std::string untouched = "profiles/demo/information/00017.dat";
    const struct {
        const test::TempDir& home;
        std::vector<std::string> written, removed;
    } steps[] = {
        {e.installed, {untouched, "information/tkv_servers.tku"}, {}},
        {e.publisher,
         {"profiles/demo/information/00001.dat", "profiles/demo/information/00002.dat",
          "profiles/demo/information/00041.dat", "profiles/demo/list.tkv", "profiles/demo/informationtypes.tkv",
          "profiles/demo/demo.tkvp", "information/tkv_profiles.tku"},
         {}},
        {e.publisher, {}, {}},
        {e.installed, {"profiles/demo/list.tkv", "profiles/demo/demo.tkvp"}, {"profiles/demo/information/00041.dat"}},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const auto& step = steps[i];
        const auto record_before = i > 0 ? inode(untouched) : 0;
        const std::string out = publish(step.home, served, false);
        for (const std::string& file : step.written)
            EXPECT_NE(out.find("wrote " + file + "\n"), std::string::npos) << i << ": " << file << "\n" << out;
        for (const std::string& file : step.removed)
            EXPECT_NE(out.find("removed " + file + "\n"), std::string::npos) << i << ": " << file << "\n" << out;
        const std::size_t wrote = count_of(out, "wrote "), removed = count_of(out, "removed ");
        const std::size_t files = files_of(served).size();
        EXPECT_TRUE(out.ends_with(std::to_string(wrote) + " files written, " + std::to_string(files - wrote) +
                                  " unchanged, " + std::to_string(removed) + " removed\n"))
            << i << ": " << out;
        if (i > 0) {
            EXPECT_EQ(out.find("wrote " + untouched), std::string::npos) << i;
            EXPECT_EQ(out.find("wrote information/tkv_servers.tku"), std::string::npos) << i;
            EXPECT_EQ(inode(untouched), record_before) << i << ": the unchanged record is the one served before";
        }
        if (i == 2) {
            EXPECT_EQ(wrote, 0u) << out;
        }

        const std::string full = e.site.path("full" + std::to_string(i));
        EXPECT_NE(publish(step.home, full, true).find(" files written, 0 unchanged, 0 removed\n"), std::string::npos);
        EXPECT_EQ(files_of(served), files_of(full)) << i;
        // A full publication into the served folder writes every file again.
        if (i == 2) {
            EXPECT_NE(publish(step.home, served, true).find(std::to_string(files) + " files written, 0 unchanged"),
                      std::string::npos);
        }
    }
}

// Whether someone holds the lock on the file at path.
bool locked(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

TEST_F(Publish, APublicationIntoAFolderBeingWrittenIsRefusedUntilItsWriterEnds) {
    ASSERT_EQ(publish("http://first.example/").code, cli::exit_ok);
    const std::string lock = cli::folder_lock_path(place.path("www"));
    // Another publication's process, killed while it writes: the system lets go of its lock.
    test::ChildProcess writer({"/usr/bin/python3", "-c",
                               "import fcntl, sys, time\n"
                               "f = open(sys.argv[1], 'a')\n"
                               "fcntl.flock(f, fcntl.LOCK_EX)\n"
                               "time.sleep(60)\n",
                               lock});
    ASSERT_TRUE(test::wait_until([&] { return locked(lock); }));
    const Result refused = publish("http://second.example/");
    EXPECT_EQ(refused.code, cli::exit_failed);
    EXPECT_NE(refused.err.find("another publication is being written into " + place.path("www")), std::string::npos)
        << refused.err;
    EXPECT_EQ(served("information/tkv_servers.tku"), ";Trickvault\r\nhttp://first.example/\r\n");

    writer.kill_at_once();
    writer.wait();
    ASSERT_TRUE(fs::exists(lock)) << "the dead writer's lock file stays behind";
    const Result after = publish("http://second.example/");
    EXPECT_EQ(after.code, cli::exit_ok) << after.err;
    EXPECT_EQ(served("information/tkv_servers.tku"), ";Trickvault\r\nhttp://second.example/\r\n");
    EXPECT_FALSE(fs::exists(lock));
}

// The test web server and nginx, the server a publisher runs, directly and through the proxy.
TEST_F(Publish, WebServersServeTheTreeToTheProgramsClient) {
    test::TempDir root;
    test::HttpPeer peer(root.folder());
    test::NginxPeer nginx(root.folder());
    test::ProxyPeer proxy;
    const std::string published_base = peer.url("tkv/");
    ASSERT_EQ(run({"publish", "--base", published_base, root.path("tkv")}).code, cli::exit_ok);
    const auto fetch = [](const std::string& url, const HttpProxy& through) {
        HttpClient client;
        std::string body;
        const HttpResult r = client.get(url, through,
                                        [&](std::string_view piece) {
                                            body.append(piece);
                                            return true;
                                        },
                                        {});
        EXPECT_EQ(r.status, 200) << url << ": " << r.error;
        return body;
    };
    const HttpProxy direct{}, proxied{"127.0.0.1", std::to_string(proxy.port()), "tkv", "s3cret"};
    for (const std::string& base : {published_base, nginx.url("tkv/")}) {
        for (const HttpProxy& through : {direct, proxied}) {
            const std::string how = base + (through.host.empty() ? "" : " through the proxy");
            const auto servers = text_resource_body(fetch(base + "information/tkv_servers.tku", through));
            ASSERT_TRUE(servers) << how;
            EXPECT_EQ(process_downloaded_list_of_servers(*servers, "http://main.example/").servers,
                      std::vector<std::string>{published_base})
                << how;
            const std::string record = fetch(base + "profiles/demo/information/00017.dat", through);
            EXPECT_EQ(record, root.read("tkv/profiles/demo/information/00017.dat")) << how;
            EXPECT_TRUE(named_resource_body(record, "trickvault350gamedata")) << how;
            for (const char* file : {"information/tkv_version.tku", "information/tkv_profiles.tku",
                                     "profiles/demo/list.tkv", "profiles/demo/informationtypes.tkv",
                                     "profiles/demo/demo.tkvp", "profiles/demo/files/saves/gta-sa-100-percent.zip",
                                     "versions/default.tku", "information/tkv_skins.tku", "skins/0001_ocean.tkvs",
                                     "skins/0001_ocean.jpg"})
                EXPECT_EQ(fetch(base + file, through), root.read(std::string("tkv/") + file)) << how << file;
        }
    }
}

} // namespace
} // namespace tkv

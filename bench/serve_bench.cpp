// Serving a published tree to many users at once: 200 simulated program copies, each fetching
// what the version check and a database upgrade fetch (the server list, the version, list.tkv
// and 50 record files), one HTTP/1.0 request after the other with the program's own client,
// against nginx and against `python3 -m http.server` on loopback. Each run is bounded: 200 x 53
// requests, and clients stop starting requests after a minute. Requests per second and the 99th
// percentile of one request's time are shown.

#include "cli/profile_source.h"
#include "cli/synthetic_profile.h"
#include "cli/tkv.h"
#include "platform/http_client.h"
#include "shell/files.h"
#include "support/loopback.h"
#include "support/nginx_conf.h"

#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <latch>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace tkv {
namespace {

constexpr int clients = 200;
constexpr int records_per_client = 50;
constexpr std::size_t games = 2000;
constexpr auto run_limit = std::chrono::seconds(60);

const std::string serve_home = TKV_BENCH_DATA "/serve/";
const std::string tree = serve_home + "www/";

// A published tree of a synthetic profile, made once in the build folder.
bool ensure_tree() {
    if (file_exists(tree + "information/tkv_servers.tku")) return true;
    const auto generated = generate_profile({games, 1, 0, "bench"});
    if (!generated || !write_profile(serve_home + "profiles/bench/", generated->profile, generated->db)) return false;
    std::ostringstream out, err;
    const int code = cli::run({"--home", serve_home, "publish", tree}, out, err);
    if (code != 0) std::fprintf(stderr, "%s", err.str().c_str());
    return code == 0;
}

// A server in a child process with its output thrown away, ended with the object.
class Server {
  public:
    Server(std::vector<std::string> argv, int port) : pid_(test::spawn_quietly(std::move(argv))) {
        started_ = pid_ > 0 && test::wait_until([&] { return test::port_answers(port); });
    }
    ~Server() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    bool started() const { return started_; }

  private:
    pid_t pid_ = -1;
    bool started_ = false;
};

// What one simulated program copy fetches, in order.
std::vector<std::string> paths_of_client(int client) {
    std::vector<std::string> paths{"information/tkv_servers.tku", "information/tkv_version.tku",
                                   "profiles/bench/list.tkv"};
    for (int i = 0; i < records_per_client; ++i) {
        const int id = static_cast<int>((client * records_per_client + i) % games) + 1;
        char name[16];
        std::snprintf(name, sizeof name, "%05d.dat", id);
        paths.push_back(std::string("profiles/bench/information/") + name);
    }
    return paths;
}

void load(benchmark::State& state, const std::string& base) {
    using clock = std::chrono::steady_clock;
    std::vector<std::vector<double>> latencies(clients); // milliseconds, per client
    std::atomic<int> failed{0};
    std::latch ready(clients + 1);
    const auto began = clock::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c)
        threads.emplace_back([&, c] {
            HttpClient client;
            const std::vector<std::string> paths = paths_of_client(c);
            ready.arrive_and_wait();
            for (const std::string& path : paths) {
                if (clock::now() - began > run_limit) break;
                std::size_t bytes = 0;
                const auto start = clock::now();
                const HttpResult r = client.get(base + path, {},
                                                [&](std::string_view piece) {
                                                    bytes += piece.size();
                                                    return true;
                                                },
                                                {});
                latencies[c].push_back(std::chrono::duration<double, std::milli>(clock::now() - start).count());
                if (r.status != 200 || bytes == 0) ++failed;
            }
        });
    ready.arrive_and_wait();
    const auto start = clock::now();
    for (std::thread& t : threads)
        t.join();
    const double seconds = std::chrono::duration<double>(clock::now() - start).count();
    std::vector<double> all;
    for (const auto& l : latencies)
        all.insert(all.end(), l.begin(), l.end());
    std::sort(all.begin(), all.end());
    state.SetIterationTime(seconds);
    state.counters["requests"] = static_cast<double>(all.size());
    state.counters["failed"] = failed.load();
    state.counters["requests_per_s"] = all.empty() ? 0 : static_cast<double>(all.size()) / seconds;
    state.counters["p99_ms"] = all.empty() ? 0 : all[std::min(all.size() - 1, all.size() * 99 / 100)];
}

void BM_Nginx(benchmark::State& state) {
    if (!ensure_tree()) return state.SkipWithError("cannot publish the tree");
    const std::string conf_folder = serve_home + "nginx/";
    folder_create(conf_folder);
    const int port = test::free_port();
    write_text_file(conf_folder + "nginx.conf", test::nginx_config(conf_folder, port, tree));
    const Server server({"/usr/sbin/nginx", "-c", conf_folder + "nginx.conf", "-p", conf_folder}, port);
    if (!server.started()) return state.SkipWithError("nginx did not start (Debian package nginx-light)");
    for (auto _ : state)
        load(state, "http://127.0.0.1:" + std::to_string(port) + "/");
}

void BM_PythonHttpServer(benchmark::State& state) {
    if (!ensure_tree()) return state.SkipWithError("cannot publish the tree");
    const int port = test::free_port();
    const Server server({"/usr/bin/python3", "-m", "http.server", std::to_string(port), "--bind", "127.0.0.1",
                         "--directory", tree},
                        port);
    if (!server.started()) return state.SkipWithError("python3 -m http.server did not start");
    for (auto _ : state)
        load(state, "http://127.0.0.1:" + std::to_string(port) + "/");
}

BENCHMARK(BM_Nginx)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_PythonHttpServer)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
} // namespace tkv

BENCHMARK_MAIN();

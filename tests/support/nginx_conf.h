#pragma once
// The configuration of nginx serving a folder on 127.0.0.1, with everything nginx writes (pid,
// logs, temporary files) kept in a folder of its own: it runs in the foreground as a child
// process, never as the system's service. Shared by the tests and the load benchmark.

#include <unistd.h>

#include <string>

namespace tkv::test {

// folder ends in "/"; root is the served tree.
inline std::string nginx_config(const std::string& folder, int port, const std::string& root, int workers = 1) {
    std::string conf = "daemon off;\nworker_processes " + std::to_string(workers) + ";\n";
    // Started by root, the workers would run as nobody, who cannot read a private temporary folder.
    if (::geteuid() == 0) conf += "user root;\n";
    conf += "pid " + folder + "nginx.pid;\nerror_log " + folder + "error.log;\n";
    conf += "events { worker_connections 4096; }\nhttp {\n  access_log off;\n";
    for (const char* temp : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
        conf += std::string("  ") + temp + "_temp_path " + folder + temp + ";\n";
    conf += "  default_type application/octet-stream;\n";
    conf += "  server {\n    listen 127.0.0.1:" + std::to_string(port) + ";\n    root " + root + ";\n  }\n}\n";
    return conf;
}

} // namespace tkv::test

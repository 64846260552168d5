// tkv backup: the backups of a profile's user.dat, what differs from today's file, restoring one.

#include "cli/open_profile.h"
#include "database/user_backups.h"
#include "shell/numbers.h"

namespace tkv::cli {

namespace {

void print_names(CommandIo io, const char* what, const std::vector<std::string>& names, CodePage cp) {
    io.out << what << ": " << names.size() << '\n';
    for (const auto& name : names) io.out << '\t' << to_utf8(name, cp) << '\n';
}

// The backup numbered n (1 the newest) as `list` shows it.
const UserBackup* numbered(const std::vector<UserBackup>& backups, const std::string& n, CommandIo io) {
    const std::int32_t number = parse_int(n, 0);
    if (number < 1 || static_cast<std::size_t>(number) > backups.size()) {
        io.err << "tkv: no backup number " << n << " (there are " << backups.size() << ")\n";
        return nullptr;
    }
    return &backups[static_cast<std::size_t>(number - 1)];
}

int run_backup(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    const bool list = args.size() == 2 && args[1] == "list";
    if (!list && !(args.size() == 3 && (args[1] == "restore" || args[1] == "diff")))
        return usage_error(io, backup_command);
    const auto profile = find_profile(context, args[0], io);
    if (!profile) return exit_usage;
    const CodePage cp = code_page_for_language(profile->language);
    const std::string& user_dat = context.variables.user_dat_path;
    const std::vector<UserBackup> backups = user_backups_list(user_dat);
    if (list) {
        for (std::size_t i = 0; i < backups.size(); ++i) {
            const UserBackup& b = backups[i];
            io.out << i + 1 << '\t' << backup_time_text(b.entry.taken) << '\t';
            if (b.readable)
                io.out << b.counts.games << '\t' << b.counts.notes << '\n';
            else
                io.out << "damaged\tdamaged\n";
        }
        return exit_ok;
    }
    const UserBackup* b = numbered(backups, args[2], io);
    if (!b) return exit_usage;
    if (args[1] == "diff") {
        const UserDataDiff d = user_backup_diff(user_dat, *b);
        print_names(io, "added since the backup", d.added, cp);
        print_names(io, "removed since the backup", d.removed, cp);
        print_names(io, "notes changed", d.changed, cp);
        return exit_ok;
    }
    if (const auto problem = user_backup_restore(user_dat, *b)) {
        io.err << "tkv: nothing restored: " << *problem << "\n";
        return exit_failed;
    }
    io.out << "restored " << b->entry.name << " to " << user_dat << "; the file it replaced is backed up\n";
    return exit_ok;
}

} // namespace

const Command backup_command{"backup", "backup PROFILE list | backup PROFILE restore N | backup PROFILE diff N",
                             run_backup};

} // namespace tkv::cli

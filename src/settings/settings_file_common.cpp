#include "settings/settings_file_common.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <system_error>

namespace tapster {

namespace fs = std::filesystem;
using platform::Status;

namespace {

// The decimal process id a temporary file's name ends with; nullopt for any other name.
template <typename Char>
std::optional<unsigned long> process_id_in(std::basic_string_view<Char> digits) {
    if (digits.empty() || digits.size() > 10) {
        return std::nullopt;
    }
    unsigned long long id = 0;
    for (const Char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        id = id * 10 + static_cast<unsigned>(c - '0');
    }
    if (id > 0xFFFFFFFFULL) {
        return std::nullopt;
    }
    return static_cast<unsigned long>(id);
}

}  // namespace

fs::path with_suffix(const fs::path& path, std::string_view suffix) {
    return {path.native() + fs::path(suffix).native()};
}

fs::path temporary_path(const fs::path& settings, unsigned long process_id) {
    // Appended rather than added with operator+, which GCC 12 at -O3 misreports (-Wrestrict).
    std::string suffix = ".tmp-";
    suffix += std::to_string(process_id);
    return with_suffix(settings, suffix);
}

Status keep_aside(const fs::path& path, std::string_view timestamp, fs::path& kept_as,
                  const TryMove& move) {
    std::string suffix = ".bad-";
    suffix += timestamp;
    const fs::path base = with_suffix(path, suffix);
    // The counter only matters when a file is set aside twice within one second; the bound
    // keeps a folder full of odd names from turning this into an endless loop.
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const fs::path candidate =
            attempt == 1 ? base : with_suffix(base, std::string(1, '-') += std::to_string(attempt));
        bool name_taken = false;
        if (Status moved = move(candidate, name_taken); moved.failed()) {
            return moved;
        }
        if (!name_taken) {
            kept_as = candidate;
            return Status::success();
        }
    }
    return Status::failure("cannot find a free name to keep the settings file aside");
}

void remove_stale_temporary_files(const fs::path& settings,
                                  const std::function<bool(unsigned long id)>& process_running) {
    const auto prefix = with_suffix(settings.filename(), ".tmp-").native();
    // The error_code forms throughout: a folder that cannot be listed only means nothing is
    // cleaned up this time.
    std::error_code error;
    const fs::path folder = settings.parent_path().empty() ? fs::path(".") : settings.parent_path();
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const auto name = entry->path().filename().native();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        std::error_code ignored;
        if (const auto id = process_id_in(
                std::basic_string_view<fs::path::value_type>(name).substr(prefix.size()));
            id && !process_running(*id) && entry->is_regular_file(ignored)) {
            fs::remove(entry->path(), ignored);
        }
    }
}

}  // namespace tapster

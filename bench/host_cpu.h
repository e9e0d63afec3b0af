#pragma once

// CPU time as the machine that hosts Wine counts it, read from its /proc through Wine's Z:
// drive: every thread of a Windows program's process, and the wineserver that answers its
// calls to the system (under Wine a call about another program's window is a round trip to
// it, and its share of the work is part of the call's cost).

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace tapster::bench {

inline std::string read_host_file(const std::string& unix_path) {
    const HANDLE file =
        CreateFileA(("Z:" + unix_path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) != FALSE && read > 0) {
        text.append(buffer, read);
    }
    CloseHandle(file);
    return text;
}

template <typename Visit>
void for_each_entry(const std::string& unix_folder, Visit visit) {
    WIN32_FIND_DATAA entry{};
    const HANDLE find = FindFirstFileA(("Z:" + unix_folder + "/*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (entry.cFileName[0] >= '0' && entry.cFileName[0] <= '9') {
            visit(std::string(entry.cFileName));
        }
    } while (FindNextFileA(find, &entry) != FALSE);
    FindClose(find);
}

// The host's processes of this Wine prefix whose command line holds `name`.
inline std::vector<std::string> host_processes(const std::string& name) {
    char prefix[1024] = {};
    GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    const std::string this_prefix = std::string("WINEPREFIX=") + prefix + '\0';
    std::vector<std::string> found;
    for_each_entry("/proc", [&](const std::string& pid) {
        if (read_host_file("/proc/" + pid + "/cmdline").find(name) != std::string::npos &&
            read_host_file("/proc/" + pid + "/environ").find(this_prefix) != std::string::npos) {
            found.push_back(pid);
        }
    });
    return found;
}

// Nanoseconds on a CPU, all threads of the processes together.
inline long long cpu_ns(const std::vector<std::string>& pids) {
    long long total = 0;
    for (const std::string& pid : pids) {
        for_each_entry("/proc/" + pid + "/task", [&](const std::string& task) {
            total +=
                std::atoll(read_host_file("/proc/" + pid + "/task/" + task + "/schedstat").c_str());
        });
    }
    return total;
}

// The host's load averages over 1, 5 and 15 minutes.
inline std::string load_average() {
    const std::string text = read_host_file("/proc/loadavg");
    std::size_t end = 0;
    for (int field = 0; field < 3 && end != std::string::npos; ++field) {
        end = text.find(' ', end + 1);
    }
    return text.substr(0, end);
}

}  // namespace tapster::bench

// Several processes writing one log file with a small maximum size and three copies:
// every line stays whole, appears once, and the copies hold the lines in order.
#include "support/win/windows.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr int writers = 5;
constexpr int lines_per_writer = 200;
constexpr std::uint32_t max_size = 1024;
constexpr int copies = 3;

const std::string bom = "\xEF\xBB\xBF";

// The helper program is built beside this test program.
std::string log_writer_path() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string own(path, length);
    return own.substr(0, own.rfind('\\') + 1) + "log_writer.exe";
}

std::optional<std::string> read(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct log_line {
    int writer;
    int number;
};

// The lines of one log file; every line must be a whole line of one writer.
std::vector<log_line> parse(const std::string& name, const std::string& content) {
    static const std::regex pattern(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d \+  writer (\d+) line (\d+))");
    std::vector<log_line> lines;
    EXPECT_EQ(content.substr(0, 3), bom) << name;
    std::size_t start = 3;
    while (start < content.size()) {
        const std::size_t end = content.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << name << " ends inside a line: " << content.substr(start);
            break;
        }
        const std::string text = content.substr(start, end - start);
        std::smatch match;
        if (std::regex_match(text, match, pattern))
            lines.push_back({std::stoi(match[1]), std::stoi(match[2])});
        else
            ADD_FAILURE() << name << " holds a torn or mixed line: [" << text << "]";
        start = end + 2;
    }
    return lines;
}

class log_file_processes : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH + 1] = {};
        ASSERT_NE(::GetTempPathA(sizeof temp, temp), 0u);
        folder_ = std::string(temp) + "log_processes_test." + std::to_string(::GetCurrentProcessId());
        ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
        base_ = folder_ + "\\shared";
    }

    void TearDown() override {
        ::DeleteFileA((base_ + ".log.txt").c_str());
        for (int number = 1; number <= copies + 1; ++number)
            ::DeleteFileA(copy(number).c_str());
        ::RemoveDirectoryA(folder_.c_str());
    }

    std::string copy(int number) const { return base_ + "." + std::to_string(number) + ".log.txt"; }

    std::string folder_;
    std::string base_;
};

TEST_F(log_file_processes, share_one_rotating_log_without_losing_order_or_lines) {
    const std::string program = log_writer_path();
    ASSERT_NE(::GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES) << program;

    // All writers are created suspended and then let go together, so that they contend.
    std::vector<PROCESS_INFORMATION> started;
    for (int writer = 0; writer < writers; ++writer) {
        std::string command = "\"" + program + "\" \"" + base_ + "\" " + std::to_string(max_size) +
                              " " + std::to_string(copies) + " " + std::to_string(writer) + " " +
                              std::to_string(lines_per_writer);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(::CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE,
                                     CREATE_SUSPENDED, nullptr, nullptr, &startup, &process))
            << command;
        started.push_back(process);
    }
    for (const PROCESS_INFORMATION& process : started)
        ::ResumeThread(process.hThread);
    for (const PROCESS_INFORMATION& process : started) {
        ASSERT_EQ(::WaitForSingleObject(process.hProcess, INFINITE), WAIT_OBJECT_0);
        DWORD exit_code = 99;
        ::GetExitCodeProcess(process.hProcess, &exit_code);
        EXPECT_EQ(exit_code, 0u);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }

    // Oldest first: copies 1 to 3, then the live file. The longest line of the run bounds
    // how far a file may go past the maximum size.
    const std::size_t longest_line = 23 + std::string("writer 4 line 199").size() + 2;
    std::vector<log_line> all;
    for (int number = 1; number <= copies + 1; ++number) {
        const bool is_live = number == copies + 1;
        const std::string name = is_live ? base_ + ".log.txt" : copy(number);
        const std::optional<std::string> content = read(name);
        ASSERT_TRUE(content.has_value()) << name;
        if (!is_live) {
            EXPECT_GE(content->size(), max_size) << name << " was copied before it was full";
        }
        EXPECT_LT(content->size(), max_size + longest_line) << name;
        const std::vector<log_line> lines = parse(name, *content);
        all.insert(all.end(), lines.begin(), lines.end());
    }
    EXPECT_EQ(read(copy(copies + 1)), std::nullopt);

    // Rotation drops whole old copies only, so what remains of each writer is the end of
    // its sequence: consecutive numbers, in order, each once, up to its last line.
    std::vector<std::optional<int>> previous(writers);
    for (const log_line& line : all) {
        ASSERT_GE(line.writer, 0);
        ASSERT_LT(line.writer, writers);
        std::optional<int>& last = previous[static_cast<std::size_t>(line.writer)];
        if (last) {
            EXPECT_EQ(line.number, *last + 1) << "writer " << line.writer;
        }
        last = line.number;
    }
    for (int writer = 0; writer < writers; ++writer) {
        const std::optional<int>& last = previous[static_cast<std::size_t>(writer)];
        if (last) {
            EXPECT_EQ(*last, lines_per_writer - 1) << "writer " << writer;
        }
    }
    EXPECT_GE(all.size(), static_cast<std::size_t>(copies) * (max_size / longest_line));
}

}  // namespace

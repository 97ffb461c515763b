// The program run as a script runs it: the bytes of its file names and the end of its output.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int code = -1;
    std::string err;
};

// Runs the program in the folder with the arguments as bytes, its standard output sent to the
// file named, without a display and with its preferences out of the way.
Outcome RunProgram(const fs::path& folder, const std::vector<std::string>& args, const char* output,
                   const fs::path& config) {
    int err[2];
    if (pipe(err) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(err[0]);
        const int out = open(output, O_WRONLY);
        dup2(out, STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        if (chdir(folder.c_str()) != 0) _exit(126);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(VELTRIX_PROGRAM)};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(VELTRIX_PROGRAM, argv.data());
        _exit(127);
    }
    close(err[1]);
    Outcome run;
    char buffer[4096];
    for (ssize_t got; (got = read(err[0], buffer, sizeof buffer)) > 0;) run.err.append(buffer, got);
    close(err[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

std::string Listing(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const auto& name : names) joined += (joined.empty() ? "" : " ") + name;
    return joined;
}

struct ProgramCase {
    const char* name;
    std::vector<std::string> args;
    const char* output;
    int code;
    // What the standard error holds (a part of it), and the folder's names afterwards.
    std::string says;
    std::string listing;
};

void PrintTo(const ProgramCase& run, std::ostream* out) { *out << run.name; }

class ProgramRun : public ::testing::TestWithParam<ProgramCase> {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "veltrix-run-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        base_ = pattern;
        fs::create_directory(base_ / "work");
    }
    void TearDown() override { fs::remove_all(base_); }
    fs::path base_;
};

TEST_P(ProgramRun, WritesTheFileNamedOrSaysWhyNot) {
    const ProgramCase& c = GetParam();
    const Outcome run = RunProgram(base_ / "work", c.args, c.output, base_ / "config");
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(Listing(base_ / "work"), c.listing);
}

const ProgramCase kRuns[] = {
    {"HelpToAFullDevice",
     {"--help"},
     "/dev/full",
     1,
     "veltrix: cannot write the help: No space left on device",
     ""},
    {"VersionToAFullDevice",
     {"--version"},
     "/dev/full",
     1,
     "veltrix: cannot write the version: No space left on device",
     ""},
    {"ScreenshotNameThatIsNotUtf8",
     {"--screenshot", "bad\xff\xfe.png"},
     "/dev/null",
     0,
     "",
     "bad\xff\xfe.png"},
    {"ScreenshotNameGivenWithEquals", {"--screenshot=\xe9t\xe9.png"}, "/dev/null", 0, "", "\xe9t\xe9.png"},
    {"DatasheetNameThatIsNotUtf8",
     {"--datasheet", "bad\xff\xfe.pdf", "--f1=900"},
     "/dev/null",
     0,
     "",
     "bad\xff\xfe.pdf"},
    {"DatasheetFailureShowsTheNameEscaped",
     {"--datasheet", "no\x1b[31m\xc2\x9b/x\xff.pdf", "--f1=900"},
     "/dev/null",
     1,
     "no\\x1b[31m\\u009b/x\\xff.pdf: No such file or directory",
     ""},
};

INSTANTIATE_TEST_SUITE_P(Runs, ProgramRun, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

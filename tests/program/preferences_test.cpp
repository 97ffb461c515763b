#include "program/preferences.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace veltrix {
namespace {

namespace fs = std::filesystem;

const char* const kFactoryText = "E\nN\n50\n50\n480\n300\n25\n25\n480\n300\n0\n0\n480\n300\n";

// A fresh directory per test, removed afterwards.
class PreferencesFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "veltrix-prefs-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = (dir_ / "veltrix.dat").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WriteText(const std::string& text) const {
        std::ofstream out(path_, std::ios::binary);
        out << text;
    }
    std::string ReadText() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path dir_;
    std::string path_;
};

// The factory file with one line replaced (1-based).
std::string FactoryWithLine(int line, const std::string& text) {
    std::stringstream in(kFactoryText);
    std::string out, current;
    for (int i = 1; std::getline(in, current); ++i) out += (i == line ? text : current) + "\n";
    return out;
}

struct ReadCase {
    const char* name;
    std::string content;
    Preferences expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

Preferences With(void (*change)(Preferences&)) {
    Preferences p;
    change(p);
    return p;
}

class ReadPreferencesCases : public PreferencesFile, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadPreferencesCases, ValidatesEveryValue) {
    WriteText(GetParam().content);
    EXPECT_EQ(ReadPreferences(path_), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadPreferencesCases,
    ::testing::Values(
        ReadCase{"Factory", kFactoryText, Preferences{}},
        ReadCase{"Millimetres", FactoryWithLine(1, "M"),
                 With([](Preferences& p) { p.PrefUnits = DrawingUnits::Millimetres; })},
        ReadCase{"OnlyFirstCharacterCounts", FactoryWithLine(1, "Millimetres"),
                 With([](Preferences& p) { p.PrefUnits = DrawingUnits::Millimetres; })},
        ReadCase{"OtherUnitsLetterIsInches", FactoryWithLine(1, "Inches"), Preferences{}},
        ReadCase{"LowerCaseUnitsIsInches", FactoryWithLine(1, "m"), Preferences{}},
        ReadCase{"EmptyUnitsLineIsInches", FactoryWithLine(1, ""), Preferences{}},
        ReadCase{"IntroductionSeen", FactoryWithLine(2, "I"),
                 With([](Preferences& p) { p.StartupScreens = StartupPagesState::IntroductionSeen; })},
        ReadCase{"Preserved", FactoryWithLine(2, "Y"),
                 With([](Preferences& p) { p.StartupScreens = StartupPagesState::Preserved; })},
        ReadCase{"UnknownStartupLetterIsN", FactoryWithLine(2, "x"), Preferences{}},
        ReadCase{"NegativeTakesItsOwnDefault", FactoryWithLine(8, "-5"), Preferences{}},
        ReadCase{"ZeroIsKept", FactoryWithLine(3, "0"), With([](Preferences& p) { p.SelectRect.Left = 0; })},
        ReadCase{"TrailingLettersIgnored", FactoryWithLine(5, "120abc"),
                 With([](Preferences& p) { p.SelectRect.Width = 120; })},
        ReadCase{"LeadingBlanksAndSign", FactoryWithLine(12, " \t+42"),
                 With([](Preferences& p) { p.TabularRect.Top = 42; })},
        ReadCase{"NoDigitsReadsZero", FactoryWithLine(14, "tall"),
                 With([](Preferences& p) { p.TabularRect.Height = 0; })},
        ReadCase{"HugeValueSaturates", FactoryWithLine(9, "99999999999999999999"),
                 With([](Preferences& p) { p.OutlineRect.Width = INT32_MAX; })},
        ReadCase{"HugeNegativeTakesDefault", FactoryWithLine(10, "-99999999999999999999"), Preferences{}},
        ReadCase{"CarriageReturnsIgnored",
                 "M\r\nI\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n",
                 Preferences{DrawingUnits::Millimetres,
                             StartupPagesState::IntroductionSeen,
                             {1, 2, 3, 4},
                             {5, 6, 7, 8},
                             {9, 10, 11, 12}}},
        // Only 59 characters of a line count; the rest of a long line is dropped, not read as the next value.
        ReadCase{"LongLineKeepsLaterValuesInPlace", FactoryWithLine(1, "M" + std::string(200, 'x')),
                 With([](Preferences& p) { p.PrefUnits = DrawingUnits::Millimetres; })},
        ReadCase{"DigitsBeyondLimitAreCut", FactoryWithLine(6, std::string(59, '0') + "77"),
                 With([](Preferences& p) { p.SelectRect.Height = 0; })},
        ReadCase{"ShortFileKeepsWhatItHolds", "M\nY\n10\n20\n600\n400\n25\n", With([](Preferences& p) {
                     p.PrefUnits = DrawingUnits::Millimetres;
                     p.StartupScreens = StartupPagesState::Preserved;
                     p.SelectRect = {10, 20, 600, 400};
                     p.OutlineRect.Left = 25;
                 })},
        ReadCase{"ShortFileWithoutFinalLineEnd", "M\nI\n10", With([](Preferences& p) {
                     p.PrefUnits = DrawingUnits::Millimetres;
                     p.StartupScreens = StartupPagesState::IntroductionSeen;
                     p.SelectRect.Left = 10;
                 })},
        ReadCase{"UnitsAloneKept", "M\n",
                 With([](Preferences& p) { p.PrefUnits = DrawingUnits::Millimetres; })},
        ReadCase{"EmptyFileGivesDefaults", "", Preferences{}},
        ReadCase{"MissingFinalLineEndStillReads", "E\nY\n50\n50\n480\n300\n25\n25\n480\n300\n0\n0\n480\n7",
                 With([](Preferences& p) {
                     p.StartupScreens = StartupPagesState::Preserved;
                     p.TabularRect.Height = 7;
                 })}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST_F(PreferencesFile, MissingOrUnreadableFileGivesDefaults) {
    EXPECT_EQ(ReadPreferences(path_), Preferences{});
    fs::create_directory(path_);  // a directory where the file should be
    EXPECT_EQ(ReadPreferences(path_), Preferences{});
}

TEST_F(PreferencesFile, WritesFourteenLinesAndReadsThemBack) {
    ASSERT_TRUE(WritePreferences(Preferences{}, path_));
    EXPECT_EQ(ReadText(), kFactoryText);

    const Preferences custom{DrawingUnits::Millimetres,
                             StartupPagesState::Preserved,
                             {10, 20, 600, 400},
                             {0, 0, 1, 1},
                             {7, 8, 900, 2000}};
    ASSERT_TRUE(WritePreferences(custom, path_));
    EXPECT_EQ(ReadText(), "M\nY\n10\n20\n600\n400\n0\n0\n1\n1\n7\n8\n900\n2000\n");
    EXPECT_EQ(ReadPreferences(path_), custom);
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));
}

TEST_F(PreferencesFile, FailedWriteReportsFalseAndLeavesNothingBehind) {
    // Tests run as root, so an unwritable place is one that cannot exist.
    EXPECT_FALSE(WritePreferences(Preferences{}, (dir_ / "missing" / "veltrix.dat").string()));
    WriteText("not a directory");
    EXPECT_FALSE(WritePreferences(Preferences{}, path_ + "/veltrix.dat"));
    EXPECT_EQ(ReadText(), "not a directory");

    // The rename over a directory fails after the temporary was written: it must be cleaned up.
    const std::string blocked = (dir_ / "blocked").string();
    fs::create_directory(blocked);
    fs::create_directory(fs::path(blocked) / "inside");
    EXPECT_FALSE(WritePreferences(Preferences{}, blocked));
    EXPECT_FALSE(fs::exists(blocked + ".tmp"));
    EXPECT_TRUE(fs::is_directory(blocked));
}

TEST_F(PreferencesFile, PreserveWritesCurrentWindowsWithY) {
    Preferences prefs;
    prefs.StartupScreens = StartupPagesState::IntroductionSeen;
    PreservePreferences(prefs, DrawingUnits::Millimetres, {10, 20, 600, 400}, {1, 2, 3, 4}, {5, 6, 7, 8},
                        path_);
    EXPECT_EQ(ReadText(), "M\nY\n10\n20\n600\n400\n1\n2\n3\n4\n5\n6\n7\n8\n");
    EXPECT_EQ(prefs.PrefUnits, DrawingUnits::Millimetres);
    EXPECT_EQ(prefs.StartupScreens, StartupPagesState::Preserved);
    // Only start-up reads the rectangles: memory keeps what was read.
    EXPECT_EQ(prefs.SelectRect, Preferences{}.SelectRect);
}

TEST_F(PreferencesFile, PreserveThatCannotWriteStillChangesMemory) {
    Preferences prefs;
    EXPECT_FALSE(PreservePreferences(prefs, DrawingUnits::Millimetres, {1, 1, 1, 1}, {1, 1, 1, 1},
                                     {1, 1, 1, 1}, (dir_ / "missing" / "veltrix.dat").string()));
    EXPECT_EQ(prefs.StartupScreens, StartupPagesState::Preserved);
    EXPECT_EQ(prefs.PrefUnits, DrawingUnits::Millimetres);
}

TEST_F(PreferencesFile, ResetWritesTheFactoryState) {
    WriteText("M\nY\n10\n20\n600\n400\n1\n2\n3\n4\n5\n6\n7\n8\n");
    Preferences prefs = ReadPreferences(path_);
    ASSERT_TRUE(ResetPreferences(prefs, path_));
    EXPECT_EQ(ReadText(), kFactoryText);
    EXPECT_EQ(prefs.PrefUnits, DrawingUnits::Inches);
    EXPECT_EQ(prefs.StartupScreens, StartupPagesState::AllShown);
    EXPECT_EQ(prefs.SelectRect, (WindowRect{10, 20, 600, 400}));
}

TEST_F(PreferencesFile, FirstIntroductionWritesIOnceWithDefaultRectangles) {
    Preferences prefs;
    prefs.PrefUnits = DrawingUnits::Millimetres;
    prefs.SelectRect = {10, 20, 600, 400};
    RecordFirstIntroduction(prefs, path_);
    EXPECT_EQ(prefs.StartupScreens, StartupPagesState::IntroductionSeen);
    EXPECT_EQ(ReadText(), "M\nI\n50\n50\n480\n300\n25\n25\n480\n300\n0\n0\n480\n300\n");

    fs::remove(path_);
    RecordFirstIntroduction(prefs, path_);
    EXPECT_FALSE(fs::exists(path_)) << "written a second time";
}

TEST_F(PreferencesFile, FirstIntroductionOnlyFromN) {
    for (StartupPagesState state : {StartupPagesState::IntroductionSeen, StartupPagesState::Preserved}) {
        Preferences prefs;
        prefs.StartupScreens = state;
        RecordFirstIntroduction(prefs, path_);
        EXPECT_EQ(prefs.StartupScreens, state);
        EXPECT_FALSE(fs::exists(path_));
    }
}

TEST_F(PreferencesFile, FirstIntroductionFailureIsNotRetried) {
    Preferences prefs;
    const std::string unwritable = (dir_ / "missing" / "veltrix.dat").string();
    RecordFirstIntroduction(prefs, unwritable);
    EXPECT_EQ(prefs.StartupScreens, StartupPagesState::IntroductionSeen);
    fs::create_directory(dir_ / "missing");
    RecordFirstIntroduction(prefs, unwritable);
    EXPECT_FALSE(fs::exists(unwritable));
}

// --- the file is read and saved safely -----------------------------------------------------------

const char* const kCustomText = "M\nY\n10\n20\n600\n400\n1\n2\n3\n4\n5\n6\n7\n8\n";
const Preferences kCustom{
    DrawingUnits::Millimetres, StartupPagesState::Preserved, {10, 20, 600, 400}, {1, 2, 3, 4}, {5, 6, 7, 8}};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(PreferencesFile, LinkPlantedUnderTheOldTemporaryNameIsNotFollowed) {
    const fs::path victim = dir_ / "someone-elses-file";
    std::ofstream(victim) << "precious\n";
    fs::create_symlink(victim, path_ + ".tmp");
    ASSERT_TRUE(WritePreferences(kCustom, path_));
    EXPECT_EQ(ReadAll(victim), "precious\n");
    EXPECT_EQ(ReadText(), kCustomText);
    EXPECT_TRUE(fs::is_symlink(path_ + ".tmp"));
    // Nothing but the three files is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3);
}

TEST_F(PreferencesFile, SavingKeepsThePrivateMode) {
    WriteText(kFactoryText);
    ASSERT_EQ(chmod(path_.c_str(), 0600), 0);
    ASSERT_TRUE(WritePreferences(kCustom, path_));
    struct stat st {};
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(ReadText(), kCustomText);
}

TEST_F(PreferencesFile, LinkedFileIsSavedThroughAndTheLinkKept) {
    fs::create_directory(dir_ / "dotfiles");
    const fs::path real = dir_ / "dotfiles" / "veltrix.dat";
    std::ofstream(real) << kFactoryText;
    fs::create_symlink("dotfiles/veltrix.dat", path_);  // relative, as dotfile managers make them
    ASSERT_TRUE(WritePreferences(kCustom, path_));
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(ReadAll(real), kCustomText);
    EXPECT_EQ(ReadPreferences(path_), kCustom);
}

// A folder one may not write to, holding a file one may: the file is rewritten in place. Root may
// write anywhere, so there the save runs in a child that has given up root.
TEST_F(PreferencesFile, ReadOnlyFolderWithWritableFileIsWrittenInPlace) {
    WriteText(kFactoryText);
    const bool root = geteuid() == 0;
    constexpr uid_t kNobody = 65534;
    if (root) {
        ASSERT_EQ(chown(path_.c_str(), kNobody, kNobody), 0);
    }
    ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (root && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(3);
        _exit(WritePreferences(kCustom, path_) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    chmod(dir_.c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save reported failure";
    EXPECT_EQ(ReadText(), kCustomText);
}

TEST_F(PreferencesFile, OnlyARegularFileIsRead) {
    ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
    EXPECT_EQ(ReadPreferences(path_), Preferences{}) << "a FIFO";  // returns at once, no writer needed
    fs::remove(path_);
    fs::create_symlink("/dev/zero", path_);
    EXPECT_EQ(ReadPreferences(path_), Preferences{}) << "an endless device";
}

TEST_F(PreferencesFile, HugeFileIsReadOnlyAsFarAsFourteenLines) {
    // Valid lines, then a tail without end: the values are read, the tail is not.
    {
        std::ofstream out(path_, std::ios::binary);
        out << kCustomText << std::string(1 << 20, 'x');
    }
    EXPECT_EQ(ReadPreferences(path_), kCustom);
    // A first line longer than any real one leaves the record short of lines: defaults.
    WriteText(std::string(100000, '1') + "\n" + kCustomText);
    EXPECT_EQ(ReadPreferences(path_), Preferences{});
}

}  // namespace
}  // namespace veltrix

#include "program/preferences_location.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <string>

#include "program/preferences.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "veltrix-location-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

enum class Here { Nothing, File, DanglingLink, Folder };

struct LocationCase {
    const char* name;
    Here here;
    bool haveConfig;
    bool expectWorkingDir;
};

class ChoosePreferencesPathTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(ChoosePreferencesPathTest, KeepsAFileThatIsHereElseTheConfigFolder) {
    const LocationCase& c = GetParam();
    TempDir work;
    const fs::path here = work.path() / "veltrix.dat";
    switch (c.here) {
        case Here::Nothing:
            break;
        case Here::File:
            std::ofstream(here) << "M\n";
            break;
        case Here::DanglingLink:
            fs::create_symlink(work.path() / "elsewhere", here);
            break;
        case Here::Folder:
            fs::create_directory(here);
            break;
    }
    const std::string config = c.haveConfig ? "/home/someone/.config/veltrix" : "";
    const std::string chosen = ChoosePreferencesPath(work.path().string(), config);
    EXPECT_EQ(chosen, c.expectWorkingDir ? std::string("veltrix.dat") : config + "/veltrix.dat");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChoosePreferencesPathTest,
    ::testing::Values(LocationCase{"NoFileGoesToTheConfigFolder", Here::Nothing, true, false},
                      LocationCase{"AFileHereStaysHere", Here::File, true, true},
                      // Whatever is there under that name was put there on purpose: the reader judges it.
                      LocationCase{"ALinkHereStaysHere", Here::DanglingLink, true, true},
                      LocationCase{"AFolderHereStaysHere", Here::Folder, true, true},
                      LocationCase{"NoConfigFolderKeepsTheWorkingDir", Here::Nothing, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigHome, AnAbsoluteXdgConfigHomeElseTheHomesConfigFolder) {
    struct Case {
        const char* xdg;
        const char* home;
        const char* expected;
    };
    for (const Case& c :
         {Case{"/srv/cfg", "/home/u", "/srv/cfg"}, Case{nullptr, "/home/u", "/home/u/.config"},
          Case{"", "/home/u", "/home/u/.config"}, Case{"cfg", "/home/u", "/home/u/.config"},
          Case{"./cfg", "/home/u", "/home/u/.config"}, Case{"~/cfg", "/home/u", "/home/u/.config"},
          Case{"cfg", "", ""}, Case{"/srv/cfg", "", "/srv/cfg"}}) {
        EXPECT_EQ(ConfigHome(c.xdg, c.home), c.expected)
            << (c.xdg ? c.xdg : "(unset)") << " with home " << c.home;
    }
}

// The program as started from the desktop menu: a working directory without the file.
class StartedElsewhere : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(work_.path().empty());
        oldDir_ = fs::current_path();
        fs::current_path(work_.path());
        const char* old = getenv("XDG_CONFIG_HOME");
        hadConfig_ = old != nullptr;
        if (old != nullptr) oldConfig_ = old;
        setenv("XDG_CONFIG_HOME", (config_.path() / "cfg").c_str(), 1);
        oldName_ = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("veltrix"));
    }
    void TearDown() override {
        QCoreApplication::setApplicationName(oldName_);
        if (hadConfig_)
            setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        fs::current_path(oldDir_);
    }

    TempDir work_;
    TempDir config_;
    fs::path oldDir_;
    bool hadConfig_ = false;
    std::string oldConfig_;
    QString oldName_;
};

TEST_F(StartedElsewhere, ReadsAndWritesInTheXdgConfigFolder) {
    const fs::path expected = config_.path() / "cfg" / "veltrix" / "veltrix.dat";
    const std::string path = LocatePreferences();
    EXPECT_EQ(fs::path(path), expected);
    EXPECT_TRUE(fs::is_directory(expected.parent_path())) << "the folder is made for the first save";

    Preferences prefs;
    EXPECT_EQ(ReadPreferences(path), Preferences{}) << "nothing saved yet: the defaults";
    prefs.PrefUnits = DrawingUnits::Millimetres;
    ASSERT_TRUE(PreservePreferences(prefs, DrawingUnits::Millimetres, {10, 20, 600, 400}, {25, 25, 480, 300},
                                    {0, 0, 480, 300}, path));
    EXPECT_TRUE(fs::exists(expected));
    EXPECT_FALSE(fs::exists(work_.path() / "veltrix.dat")) << "the working directory is left alone";
    const Preferences read = ReadPreferences(path);
    EXPECT_EQ(read.PrefUnits, DrawingUnits::Millimetres);
    EXPECT_EQ(read.StartupScreens, StartupPagesState::Preserved);
    EXPECT_EQ(read.SelectRect, (WindowRect{10, 20, 600, 400}));
}

TEST_F(StartedElsewhere, AFileInTheWorkingDirectoryIsStillUsed) {
    std::ofstream("veltrix.dat") << "M\nY\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n";
    const std::string path = LocatePreferences();
    EXPECT_EQ(path, "veltrix.dat");
    EXPECT_EQ(ReadPreferences(path).PrefUnits, DrawingUnits::Millimetres);
    EXPECT_FALSE(fs::exists(config_.path() / "cfg" / "veltrix")) << "no folder made when it is not used";
}

TEST_F(StartedElsewhere, AConfigFolderWhoseNameIsNotUtf8KeepsItsBytes) {
    const fs::path config = config_.path() / "cfg\xff\xfe";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const std::string path = LocatePreferences();
    EXPECT_EQ(path, (config / "veltrix" / "veltrix.dat").string());
    EXPECT_TRUE(fs::is_directory(config / "veltrix"));
    Preferences prefs;
    prefs.PrefUnits = DrawingUnits::Millimetres;
    ASSERT_TRUE(PreservePreferences(prefs, DrawingUnits::Millimetres, {10, 20, 600, 400}, {25, 25, 480, 300},
                                    {0, 0, 480, 300}, path));
    EXPECT_EQ(ReadPreferences((config / "veltrix" / "veltrix.dat").string()).PrefUnits,
              DrawingUnits::Millimetres);
    EXPECT_FALSE(fs::exists(config_.path() / "cfg\xef\xbf\xbd\xef\xbf\xbd"))
        << "no folder of a name with replacement characters";
}

// The XDG rules: a relative $XDG_CONFIG_HOME is invalid and ignored, so ~/.config applies.
TEST_F(StartedElsewhere, ARelativeXdgConfigHomeIsIgnored) {
    TempDir home;
    const char* oldHome = getenv("HOME");
    const std::string savedHome = oldHome != nullptr ? oldHome : "";
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    const std::string path = LocatePreferences();
    if (oldHome != nullptr)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
    EXPECT_EQ(fs::path(path), home.path() / ".config" / "veltrix" / "veltrix.dat");
    EXPECT_FALSE(fs::exists(work_.path() / "relative")) << "nothing made below the working directory";
}

}  // namespace
}  // namespace veltrix

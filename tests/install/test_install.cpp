// `cmake --install` of this build tree into a staged (DESTDIR) and moved prefix: the
// layout a desktop expects, and a program that finds its data from anywhere.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cairo.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& s) { return "'" + s + "'"; }

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Installs once per test process; returns the installed prefix as staged on disk.
const fs::path& InstalledRoot() {
    static const fs::path root = [] {
        const fs::path stage = fs::absolute("stage");
        const std::string prefix = "/opt/brinegate-moved";
        const std::string command = "DESTDIR=" + Quote(stage.string()) + " " + Quote(CMAKE_COMMAND_PATH) +
                                    " --install " + Quote(BRINEGATE_BUILD_DIR) + " --prefix " + prefix +
                                    " > install.log 2>&1";
        const int status = std::system(command.c_str());
        if (status != 0) {
            ADD_FAILURE() << "install failed (" << status << "):\n" << ReadText("install.log");
            return fs::path();
        }
        return stage / prefix.substr(1);
    }();
    return root;
}

std::map<std::string, std::string> DesktopEntry(const fs::path& file) {
    std::map<std::string, std::string> keys;
    std::ifstream in(file);
    std::string group;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            group = line;
            continue;
        }
        const size_t eq = line.find('=');
        if (group == "[Desktop Entry]" && eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

bool OnPath(const std::string& program) {
    return std::system(("command -v " + program + " > /dev/null 2>&1").c_str()) == 0;
}

TEST(Install, StagedTreeHoldsProgramDataDesktopEntryAndIcons) {
    const fs::path& root = InstalledRoot();
    ASSERT_FALSE(root.empty());

    const fs::path program = root / "bin/brinegate";
    ASSERT_TRUE(fs::is_regular_file(program));
    EXPECT_NE(fs::status(program).permissions() & fs::perms::owner_exec, fs::perms::none);

    // The data tree is the one the build generated, file for file, and nothing else.
    const fs::path data = root / "share/brinegate";
    size_t generated = 0;
    for (const auto& entry : fs::recursive_directory_iterator(BRINEGATE_DATA_DIR)) {
        if (!entry.is_regular_file() || entry.path().filename() == ".assetgen.stamp") continue;
        ++generated;
        const fs::path copy = data / fs::relative(entry.path(), BRINEGATE_DATA_DIR);
        ASSERT_TRUE(fs::is_regular_file(copy)) << copy;
        EXPECT_EQ(fs::file_size(copy), entry.file_size()) << copy;
    }
    size_t installed = 0;
    for (const auto& entry : fs::recursive_directory_iterator(data)) installed += entry.is_regular_file();
    EXPECT_GT(generated, 0u);
    EXPECT_EQ(installed, generated);

    const fs::path desktop = root / "share/applications/brinegate.desktop";
    ASSERT_TRUE(fs::is_regular_file(desktop));
    if (OnPath("desktop-file-validate")) {
        const std::string check = "desktop-file-validate " + Quote(desktop.string()) + " > validate.log 2>&1";
        EXPECT_EQ(std::system(check.c_str()), 0) << ReadText("validate.log");
        EXPECT_EQ(ReadText("validate.log"), "") << "hints or warnings";
    }
    auto keys = DesktopEntry(desktop);
    EXPECT_EQ(keys["Type"], "Application");
    EXPECT_EQ(keys["Name"], "Brinegate");
    EXPECT_EQ(keys["Exec"], "brinegate");
    EXPECT_EQ(keys["Icon"], "brinegate");
    EXPECT_EQ(keys["Categories"], "Game;ArcadeGame;");
    EXPECT_FALSE(keys["Comment"].empty());

    // The icon theme's layout: one square RGBA picture per size folder, with clear
    // corners around an opaque badge.
    for (int size : {48, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const fs::path icon = root / "share/icons/hicolor" / folder / "apps/brinegate.png";
        cairo_surface_t* s = cairo_image_surface_create_from_png(icon.c_str());
        ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS) << icon;
        EXPECT_EQ(cairo_image_surface_get_width(s), size) << icon;
        EXPECT_EQ(cairo_image_surface_get_height(s), size) << icon;
        EXPECT_EQ(cairo_image_surface_get_format(s), CAIRO_FORMAT_ARGB32) << icon;
        const unsigned char* px = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        auto alpha = [&](int x, int y) { return px[y * stride + x * 4 + 3]; };  // little-endian ARGB
        EXPECT_EQ(alpha(0, 0), 0) << icon;
        EXPECT_EQ(alpha(size - 1, size - 1), 0) << icon;
        EXPECT_EQ(alpha(size / 2, size / 2), 255) << icon;
        cairo_surface_destroy(s);
    }
}

// Started from an empty folder, the staged program reads its art from
// <bin>/../share/brinegate: the prefix it was built for does not exist, the tree
// was moved, and nothing lies beside it but the installed layout.
TEST(Install, StagedProgramFindsItsDataFromAnyWorkingDirectory) {
    const fs::path& root = InstalledRoot();
    ASSERT_FALSE(root.empty());
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display for the program's window";
    if (fs::exists(BRINEGATE_INSTALLED_DATA_DIR))
        GTEST_SKIP() << BRINEGATE_INSTALLED_DATA_DIR << " exists: a moved install cannot be told apart";

    const fs::path anywhere = fs::absolute("anywhere");
    fs::create_directories(anywhere);
    const std::string program = (root / "bin/brinegate").string();
    const std::string errors = (anywhere / "stderr.txt").string();
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.emplace_back("BRINEGATE_NO_SOUND=1");
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (chdir(anywhere.c_str()) != 0) _exit(126);
        if (!freopen(errors.c_str(), "w", stderr)) _exit(126);
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        execve(program.c_str(), argv, envp.data());
        _exit(127);
    }

    // Once the manager has finished a pass, set-up (every image load) is behind it.
    const fs::path log = anywhere / "GOManLog.txt";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    int status = 0;
    bool exited = false;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            break;
        }
        if (ReadText(log).find("Finished updating") != std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_FALSE(exited) << "the program ended by itself:\n" << ReadText(errors);
    if (!exited) {
        EXPECT_NE(ReadText(log).find("Finished updating"), std::string::npos) << "no frame ran";
        kill(pid, SIGTERM);  // closes the window the way a desktop does
        const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (waitpid(pid, &status, WNOHANG) != pid) {
            if (std::chrono::steady_clock::now() > limit) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                ADD_FAILURE() << "the program did not end on SIGTERM";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    const std::string stderrText = ReadText(errors);
    EXPECT_EQ(stderrText.find("cannot load image"), std::string::npos) << stderrText;
}

}  // namespace

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
#include <sstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& s) { return "'" + s + "'"; }

std::string ReadText(const fs::path& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// Installs once per test process; returns the installed prefix as staged on disk.
const fs::path& InstalledRoot() {
    static const fs::path root = [] {
        const fs::path stage = fs::absolute("stage");
        const std::string command = "DESTDIR=" + Quote(stage.string()) + " " + Quote(CMAKE_COMMAND_PATH) +
                                    " --install " + Quote(BRINEGATE_BUILD_DIR) +
                                    " --prefix /opt/moved > install.log 2>&1";
        if (std::system(command.c_str()) != 0) {
            ADD_FAILURE() << "install failed:\n" << ReadText("install.log");
            return fs::path();
        }
        return stage / "opt/moved";
    }();
    return root;
}

TEST(Install, StagedTreeHoldsProgramDataDesktopEntryAndIcons) {
    const fs::path& root = InstalledRoot();
    ASSERT_FALSE(root.empty());
    EXPECT_NE(fs::status(root / "bin/brinegate").permissions() & fs::perms::owner_exec, fs::perms::none);

    // The data tree is the one the build generated, file for file, and nothing else.
    const fs::path data = root / "share/brinegate";
    int generated = 0, installed = 0;
    for (const auto& entry : fs::recursive_directory_iterator(BRINEGATE_DATA_DIR)) {
        if (!entry.is_regular_file() || entry.path().filename() == ".assetgen.stamp") continue;
        ++generated;
        const fs::path copy = data / fs::relative(entry.path(), BRINEGATE_DATA_DIR);
        EXPECT_TRUE(fs::exists(copy) && fs::file_size(copy) == entry.file_size()) << copy;
    }
    for (const auto& entry : fs::recursive_directory_iterator(data)) installed += entry.is_regular_file();
    EXPECT_GT(generated, 0);
    EXPECT_EQ(installed, generated);

    const fs::path desktop = root / "share/applications/brinegate.desktop";
    if (std::system("command -v desktop-file-validate > /dev/null") == 0) {
        const std::string check = "desktop-file-validate " + Quote(desktop.string()) + " > validate.log 2>&1";
        EXPECT_EQ(std::system(check.c_str()), 0);
        EXPECT_EQ(ReadText("validate.log"), "");
    }
    const std::string entry = "\n" + ReadText(desktop);
    for (const char* line : {"\n[Desktop Entry]\n", "\nType=Application\n", "\nName=Brinegate\n",
                             "\nExec=brinegate\n", "\nIcon=brinegate\n", "\nCategories=Game;ArcadeGame;\n",
                             "\nComment="})
        EXPECT_NE(entry.find(line), std::string::npos) << line << " missing from\n" << entry;

    // One square picture per size folder of the icon theme: clear corners, opaque middle.
    for (int size : {48, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const fs::path icon = root / "share/icons/hicolor" / folder / "apps/brinegate.png";
        cairo_surface_t* s = cairo_image_surface_create_from_png(icon.c_str());
        ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS) << icon;
        EXPECT_EQ(cairo_image_surface_get_width(s), size);
        EXPECT_EQ(cairo_image_surface_get_height(s), size);
        const unsigned char* px = cairo_image_surface_get_data(s);
        auto alpha = [&](int x, int y) { return px[y * cairo_image_surface_get_stride(s) + x * 4 + 3]; };
        EXPECT_EQ(alpha(0, 0), 0) << icon;
        EXPECT_EQ(alpha(size / 2, size / 2), 255) << icon;
        cairo_surface_destroy(s);
    }
}

// Started in an empty folder, the staged program must read its art through
// <bin>/../share/brinegate: the prefix it was built for holds nothing.
TEST(Install, StagedProgramFindsItsDataFromAnyWorkingDirectory) {
    const fs::path& root = InstalledRoot();
    ASSERT_FALSE(root.empty());
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display for the program's window";
    if (fs::exists(BRINEGATE_INSTALLED_DATA_DIR))
        GTEST_SKIP() << BRINEGATE_INSTALLED_DATA_DIR << " exists: a moved install cannot be told apart";
    const fs::path anywhere = fs::absolute("anywhere");
    fs::create_directories(anywhere);
    const std::string program = (root / "bin/brinegate").string();

    setenv("BRINEGATE_NO_SOUND", "1", 1);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (chdir(anywhere.c_str()) != 0 || !freopen("stderr.txt", "w", stderr)) _exit(126);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Once the manager has finished a pass, set-up (every image load) is behind it.
    using Clock = std::chrono::steady_clock;
    auto giveUp = Clock::now() + std::chrono::minutes(3);
    int status = 0;
    bool ran = false, exited = false;
    while (!ran && !exited && Clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        exited = waitpid(pid, &status, WNOHANG) == pid;
        ran = ReadText(anywhere / "GOManLog.txt").find("Finished updating") != std::string::npos;
    }
    if (!exited) {
        kill(pid, SIGTERM);  // closes the window as a desktop does
        giveUp = Clock::now() + std::chrono::minutes(1);
        while (!(exited = waitpid(pid, &status, WNOHANG) == pid) && Clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!exited) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
    }
    EXPECT_TRUE(ran) << ReadText(anywhere / "stderr.txt");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    const std::string errors = ReadText(anywhere / "stderr.txt");
    EXPECT_EQ(errors.find("cannot load image"), std::string::npos) << errors;
}

}  // namespace

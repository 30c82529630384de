// Process life: End, RuntimeError, OnEnd and RunGame on both backends, and
// Notify.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/app.h"
#include "platform/backend.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "platform/testing.h"
#include "temp_dir.h"

using namespace plat;

namespace {

class App : public ::testing::Test {
protected:
    void SetUp() override { detail::ResetBaseState(); }
    void TearDown() override { detail::ResetBaseState(); }
    // Registers a handler that records each call's argument.
    void RecordEnds() {
        OnEnd([this](bool viaEnd) { ends_.push_back(viaEnd); });
    }
    std::vector<bool> ends_;
};

}  // namespace

TEST_F(App, TitleAndPaths) {
    EXPECT_EQ(AppTitle(), "");
    SetAppTitle("Quillimar");
    EXPECT_EQ(AppTitle(), "Quillimar");
    EXPECT_EQ(StripDir(AppFile()), "test_platform_base");
    EXPECT_EQ(FileType(AppFile()), 1);
    EXPECT_EQ(AppDir(), ExtractDir(AppFile()));
    detail::ResetBaseState();
    EXPECT_EQ(AppTitle(), "");
}

TEST_F(App, EndRunsTheHandlersOnceThenThrows) {
    RecordEnds();
    RecordEnds();
    EXPECT_THROW(End(), EndRequested);
    EXPECT_EQ(ends_, (std::vector<bool>{true, true}));
    EXPECT_THROW(End(), EndRequested);
    EXPECT_EQ(ends_.size(), 2u);
}

TEST_F(App, RuntimeErrorCarriesItsText) {
    try {
        RuntimeError("Missing key: speed");
        FAIL();
    } catch (const RuntimeErrorException& e) {
        EXPECT_STREQ(e.what(), "Missing key: speed");
    }
}

TEST_F(App, RunGameEndsEveryWay) {
    struct Case { const char* name; std::function<void()> body; int status; bool viaEnd; const char* err; };
    const Case cases[] = {
        {"return", [] {}, 0, true, ""},
        {"End", [] { End(); }, 0, true, ""},
        {"RuntimeError", [] { RuntimeError("Level file is damaged"); }, -1, false, "Level file is damaged\n"},
        {"stream", [] { ReadInt(CreateMemoryStream("ab")); }, -1, false, "Error reading from stream\n"},
        {"std", [] { throw std::out_of_range("index 9"); }, -1, false, "index 9\n"},
        {"other", [] { throw 42; }, -1, false, "Unknown error\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        detail::ResetBaseState();
        ends_.clear();
        RecordEnds();
        ::testing::internal::CaptureStderr();
        const int status = RunGame(0, nullptr, c.body);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.err);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(ends_, std::vector<bool>{c.viaEnd});
    }
}

TEST_F(App, AFailingHandlerDoesNotStopTheOthers) {
    OnEnd([](bool) { throw std::runtime_error("handler broke"); });
    RecordEnds();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(0, nullptr, [] { RuntimeError("first"); }), -1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "first\nhandler broke\n");
    EXPECT_EQ(ends_, std::vector<bool>{false});
}

TEST_F(App, NotifyIsRecordedAndPrint) {
    ::testing::internal::CaptureStderr();
    Notify("Could not read options");
    Notify("second", 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Notify: Could not read options\nNotify: second\n");
    EXPECT_EQ(plat::testing::Notifications(), (std::vector<std::string>{"Could not read options", "second"}));
    plat::testing::ClearNotifications();
    EXPECT_TRUE(plat::testing::Notifications().empty());

    ::testing::internal::CaptureStdout();
    Print("line one");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "line one\n");
}

// ---- the real backend, in a child process ---------------------------------------
namespace {

struct ProbeRun {
    int status = -100;
    std::string out, err;
};

std::string Slurp(const std::string& path) {
    std::ifstream f(path);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

class RealBackend : public TempDir {
protected:
    ProbeRun Run(const std::string& mode, const std::string& env = "QUILL_NOTIFY_STDERR=1") {
        const std::string cmd = "cd / && env " + env + " ASAN_OPTIONS=detect_leaks=0 " + QUILL_BASE_PROBE + " " +
                                mode + " >" + Path("out") + " 2>" + Path("err");
        const int rc = std::system(cmd.c_str());
        ProbeRun r;
        if (WIFEXITED(rc)) r.status = WEXITSTATUS(rc);
        r.out = Slurp(Path("out"));
        r.err = Slurp(Path("err"));
        return r;
    }
};

}  // namespace

TEST_F(RealBackend, ExitStatusesAndHandlers) {
    struct Case { const char* mode; int status; const char* out; const char* err; };
    const Case cases[] = {
        {"end", 0, "body\nhandler viaEnd=1\n", ""},
        {"return", 0, "body\nbody done\nhandler viaEnd=1\n", ""},
        {"error", 255, "body\nhandler viaEnd=0\n", "boom at start\n"},
        {"stream", 255, "body\nhandler viaEnd=0\n", "Error reading from stream\n"},
        {"throw-int", 255, "body\nhandler viaEnd=0\n", "Unknown error\n"},
        {"notify", 0, "body\nbody done\nhandler viaEnd=1\n", "Notify: hello there\n"},
    };
    for (const Case& c : cases) {
        const ProbeRun r = Run(c.mode);
        EXPECT_EQ(r.status, c.status) << c.mode;
        EXPECT_EQ(r.out, c.out) << c.mode;
        EXPECT_EQ(r.err, c.err) << c.mode;
    }
}

TEST_F(RealBackend, NotifyFallsBackToStderrWithoutADisplay) {
    const ProbeRun r = Run("notify", "-u QUILL_NOTIFY_STDERR -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("Notify: hello there\n"), std::string::npos) << r.err;
}

TEST_F(RealBackend, WorksInTheApplicationFolder) {
    const ProbeRun r = Run("cwd");
    const std::string probeDir = ExtractDir(QUILL_BASE_PROBE);
    EXPECT_EQ(r.out, "body\n" + probeDir + "|" + probeDir + "\nbody done\nhandler viaEnd=1\n");
}

// The real clock's sleeps end on an absolute deadline: never before it, and
// one already past returns at once.
TEST_F(RealBackend, SleepsNeverEndBeforeTheirDeadline) {
    const ProbeRun r = Run("sleep");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "body\nearly 0\nbody done\nhandler viaEnd=1\n");
}

TEST_F(RealBackend, ClockOffsetDiffersFromRunToRun) {
    const ProbeRun a = Run("clock");
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const ProbeRun b = Run("clock");
    auto offset = [](const ProbeRun& r) { return std::stoll(r.out.substr(r.out.find('\n') + 1)); };
    const long long oa = offset(a), ob = offset(b);
    for (long long o : {oa, ob}) {
        EXPECT_GE(o, 0);
        EXPECT_LE(o, 1 << 20);
    }
    EXPECT_GE(((ob - oa) % (1 << 20) + (1 << 20)) % (1 << 20), 2);
}

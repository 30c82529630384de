// Process life: the title, the OnEnd handlers, the two ways a run ends, and
// messages to the player.
#include "platform/app.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/backend.h"
#include "platform/files.h"
#include "platform/stream.h"

namespace plat {
namespace {

std::string g_title;
std::vector<std::function<void(bool)>> g_endHandlers;
bool g_endHandlersRan = false;

[[noreturn]] void ExitProcess(int status) {
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(status);
}

void ReportFatal(const char* text) {
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
}

// The error path: the text on stderr, the handlers told it was no End().
int Fail(const char* text) {
    ReportFatal(text);
    detail::RunEndHandlers(false);
    if (!detail::Headless()) ExitProcess(-1);
    return -1;
}

}  // namespace

void SetAppTitle(const std::string& title) { g_title = title; }
const std::string& AppTitle() { return g_title; }

std::string AppFile() {
    std::vector<char> buf(4096);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return {};
        if (static_cast<size_t>(n) < buf.size()) return std::string(buf.data(), static_cast<size_t>(n));
        buf.resize(buf.size() * 2);
    }
}

std::string AppDir() { return ExtractDir(AppFile()); }

void OnEnd(std::function<void(bool viaEnd)> handler) {
    if (handler) g_endHandlers.push_back(std::move(handler));
}

namespace detail {

void RunEndHandlers(bool viaEnd) {
    if (g_endHandlersRan) return;
    g_endHandlersRan = true;
    // A failing handler must not keep the others (the saves) from running.
    for (size_t i = 0; i < g_endHandlers.size(); ++i) {
        try {
            g_endHandlers[i](viaEnd);
        } catch (const std::exception& e) {
            ReportFatal(e.what());
        } catch (...) {
            ReportFatal("Unknown error in an end handler");
        }
    }
}

void ResetAppState() {
    g_title.clear();
    g_endHandlers.clear();
    g_endHandlersRan = false;
}

}  // namespace detail

void End() {
    detail::RunEndHandlers(true);
    if (detail::Headless()) throw EndRequested();
    ExitProcess(0);
}

void RuntimeError(const std::string& text) { throw RuntimeErrorException(text); }

void Notify(const std::string& text, int /*serious*/) {
    bool shown = false;
    if (detail::Headless())
        detail::ShowMessageBox(g_title, text);  // recorded; also echoed below for the test log
    else if (!std::getenv("QUILL_NOTIFY_STDERR"))
        shown = detail::ShowMessageBox(g_title, text);
    if (!shown) {
        std::fprintf(stderr, "Notify: %s\n", text.c_str());
        std::fflush(stderr);
    }
}

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int RunGame(int /*argc*/, char** /*argv*/, const std::function<void()>& body) {
    if (!detail::Headless()) {
        const std::string dir = AppDir();
        if (!dir.empty()) ChangeDir(dir);
    }
    try {
        body();
        End();
    } catch (const EndRequested&) {
        return 0;
    } catch (const RuntimeErrorException& e) {
        return Fail(e.what());
    } catch (const StreamReadError& e) {
        return Fail(e.what());
    } catch (const std::exception& e) {
        return Fail(e.what());
    } catch (const std::string& s) {
        return Fail(s.c_str());
    } catch (const char* s) {
        return Fail(s ? s : "Unknown error");
    } catch (...) {
        return Fail("Unknown error");
    }
}

}  // namespace plat

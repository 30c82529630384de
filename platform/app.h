// Process life: the title, the end of the program, fatal errors, messages.
#pragma once
#include <functional>
#include <stdexcept>
#include <string>

namespace plat {

// A fatal error raised by RuntimeError (or by the platform itself). When
// nothing catches it, RunGame writes its text to standard error and the
// process ends with status -1.
class RuntimeErrorException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Thrown by End() under the headless backend so a test can see the game
// asked to finish; the real backend exits the process instead.
class EndRequested : public std::exception {
public:
    const char* what() const noexcept override { return "End"; }
};

void SetAppTitle(const std::string& title);
const std::string& AppTitle();
// Full path of the running executable.
std::string AppFile();
// The folder that holds the executable; RunGame makes it the working folder.
std::string AppDir();

// Handlers run once at every end of the program. The argument is true when
// the program ends through End(), false when an uncaught error ends it.
void OnEnd(std::function<void(bool viaEnd)> handler);

[[noreturn]] void End();
[[noreturn]] void RuntimeError(const std::string& text);

// A modal alert with the application title and one "OK" button. With the
// environment variable QUILL_NOTIFY_STDERR set (tests), or when no box can be
// shown, the text goes to standard error instead.
void Notify(const std::string& text, int serious = 0);
// A diagnostic line on standard output.
void Print(const std::string& text);

// Runs the game's entry: sets the working folder to AppDir(), calls body, and
// turns an uncaught error into "text on stderr, OnEnd handlers, exit -1";
// a normal return behaves as End(). Returns the exit status under the
// headless backend (where nothing exits the process).
int RunGame(int argc, char** argv, const std::function<void()>& body);

namespace detail {
// Runs the OnEnd handlers once (later calls do nothing).
void RunEndHandlers(bool viaEnd);
}  // namespace detail

}  // namespace plat

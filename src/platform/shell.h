#pragma once
#include <functional>
#include <string>

namespace tavi {

// Window states passed to the shell when something is opened.
enum class ShowCommand { Normal = 1, Minimized = 2, Maximized = 3 };

struct ShellOpenRequest {
    std::string verb;        // "open"
    std::string file;
    std::string parameters;
    std::string directory;
    ShowCommand show = ShowCommand::Normal;
};

// What the core asks of the shell.
class Shell {
public:
    virtual ~Shell() = default;
    // The shell's result code: 33 or more on success, 0 when the system is
    // out of memory or resources, 1..32 for errors the shell reports.
    virtual int Open(const ShellOpenRequest& request) = 0;
    // Open, away from the calling thread where the shell allows, so that a
    // file on a drive that does not answer never holds it: `done` gets the
    // result on the calling thread once the shell is done, maybe before this
    // returns. A negative result: it was not even tried (its drive does not
    // answer), and there is nothing to report. This one opens here.
    virtual void OpenThen(const ShellOpenRequest& request, std::function<void(int result)> done) {
        done(Open(request));
    }

    struct Association {
        int result = 0;       // 32 or more when a program was found
        std::string program;  // as the shell gives it, quotes and all
    };
    // The program that opens a document (FindExecutable).
    virtual Association AssociatedProgram(const std::string& document) = 0;
};

}  // namespace tavi

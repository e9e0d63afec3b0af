#pragma once

#include <string>

namespace tapster::platform {

// Process and shell services: opening documents and starting programs, ending this process.
class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a web address with the user's default handler; the outcome is not reported.
    virtual void open_url(const std::string& url) = 0;
    // Starts a program from a command line in a normal window with the focus.
    virtual bool start_command_line(const std::string& command_line) = 0;
    // Ends the process at once; no further handler runs.
    virtual void end_process() = 0;
};

}  // namespace tapster::platform

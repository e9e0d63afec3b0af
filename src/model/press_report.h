#pragma once

#include <string>

namespace tapster {

// What the push cycle tells of one press, or of one refusal by a program with higher rights.
struct PressReport {
    std::string entry;    // the target's text in the list: which target it was
    std::string title;    // of the window pressed, as it read then
    std::string button;   // the button's recorded text
    std::string program;  // the window's program file name; empty where not known
    bool drawn = false;   // a button its program draws itself, pressed through accessibility
    bool forced = false;
    bool refused = false;
    bool managed = false;  // set by the administrator rather than the user
};

// Hears every press and refusal on the GUI thread; it must only hand the report on, since a
// press waits for it.
class PressSink {
  public:
    virtual ~PressSink() = default;
    // False while nothing is kept: the push cycle then reads nothing for a report.
    virtual bool keeping() const = 0;
    virtual void report(PressReport report) = 0;
};

}  // namespace tapster

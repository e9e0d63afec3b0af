#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace tapster::ui {

// The one way a control tells its observers: the control raises the event, and every handler
// connected to it runs, in the order they were connected. A second connect adds a handler; it
// never drops the first. A handler must not connect or disconnect on the event that runs it.
template <typename... Args>
class Event {
  public:
    using Handler = std::function<void(Args...)>;
    // Names one connected handler, for an observer that ends before what it observes (a
    // window's view) and disconnects.
    using Connection = unsigned;

    Connection connect(Handler handler) {
        handlers_.push_back({++last_connection_, std::move(handler)});
        return last_connection_;
    }
    void disconnect(Connection connection) {
        std::erase_if(handlers_, [connection](const Connected& connected) {
            return connected.connection == connection;
        });
    }
    void raise(Args... args) const {
        for (const Connected& connected : handlers_) {
            connected.handler(args...);
        }
    }

  private:
    struct Connected {
        Connection connection;
        Handler handler;
    };
    std::vector<Connected> handlers_;
    Connection last_connection_ = 0;
};

}  // namespace tapster::ui

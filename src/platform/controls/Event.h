#pragma once

#include <functional>
#include <utility>

namespace pontrel {

// One event of a control with at most one handler, as in the classic desktop toolkit. Raising an
// event without a handler does nothing.
template <typename... Args>
class Event {
public:
    void connect(std::function<void(Args...)> handler) { handler_ = std::move(handler); }
    void operator()(Args... args) const {
        if (handler_) {
            handler_(args...);
        }
    }

private:
    std::function<void(Args...)> handler_;
};

}  // namespace pontrel

// Input for the capture dialog, given in advance, as a pad script gives it.
#pragma once

#include <winplatform/headless_input.h>

#include <deque>
#include <memory>

class ScriptedInput : public winplatform::InputSource {
public:
    explicit ScriptedInput(std::deque<winplatform::InputEvent> events) : events_(std::move(events)) {}
    std::optional<winplatform::InputEvent> next() override {
        if (events_.empty()) return std::nullopt;
        winplatform::InputEvent e = events_.front();
        events_.pop_front();
        return e;
    }

private:
    std::deque<winplatform::InputEvent> events_;
};

inline winplatform::InputEvent clickOn(UINT id) { return {winplatform::InputEvent::Kind::Click, id, 0, {}, 0}; }

// Installs the events as the process's input.
inline void scriptInput(std::deque<winplatform::InputEvent> events) {
    winplatform::setInputSource(std::make_shared<ScriptedInput>(std::move(events)));
}

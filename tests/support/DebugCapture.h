// Collects the debugger output written while it lives.
#pragma once

#include "platform/DebugOutput.h"

#include <string>
#include <vector>

namespace qv::test {

class DebugCapture {
public:
    DebugCapture() : previous_(SetDebugSink([this](const std::string& t) { lines_.push_back(t); })) {}
    ~DebugCapture() { SetDebugSink(std::move(previous_)); }
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
    DebugSink previous_;
};

} // namespace qv::test

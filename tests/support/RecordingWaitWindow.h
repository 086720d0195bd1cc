#pragma once
// A wait window that writes down what it was asked, one line per call.

#include <string>
#include <vector>

#include "core/WaitWindow.h"

namespace ombrel::test {

class RecordingWaitWindow : public core::WaitWindow {
  public:
    void setMessage(const std::string& text) override { calls.push_back("message " + text); }
    void setMaximum(int maximum) override { calls.push_back("max " + std::to_string(maximum)); }
    void setValue(int value) override { calls.push_back("value " + std::to_string(value)); }
    void showWindow() override { calls.push_back("show"); }
    void hideWindow() override { calls.push_back("hide"); }
    void setBusy(bool busy) override { calls.push_back(busy ? "busy" : "idle"); }

    std::vector<std::string> calls;
};

}  // namespace ombrel::test

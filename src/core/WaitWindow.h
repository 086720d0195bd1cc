#pragma once
// The wait window as the long operations see it: a message, a progress bar, shown without
// blocking and repainted after each step. The window implements it with Form1; tests record.

#include <string>

namespace ombrel::core {

class WaitWindow {
  public:
    virtual ~WaitWindow() = default;
    virtual void setMessage(const std::string& text) = 0;  // Label1
    virtual void setMaximum(int maximum) = 0;              // ProgressBar1
    virtual void setValue(int value) = 0;
    virtual void showWindow() = 0;  // not modal
    virtual void hideWindow() = 0;
    virtual void setBusy(bool busy) = 0;  // the hourglass pointer
};

// Stands in until the window attaches its own, so the modules need no null checks.
class NoWaitWindow : public WaitWindow {
  public:
    void setMessage(const std::string&) override {}
    void setMaximum(int) override {}
    void setValue(int) override {}
    void showWindow() override {}
    void hideWindow() override {}
    void setBusy(bool) override {}
};

}  // namespace ombrel::core

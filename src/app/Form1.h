#pragma once
// The wait window Form1: a picture, the tool's title and version, the caller's message and a
// progress bar. Long operations run on the window's thread, so the window paints itself at
// once whenever it is shown or its progress moves.

#include <QLabel>
#include <QProgressBar>
#include <QWidget>

#include "core/WaitWindow.h"

namespace ombrel::app {

class Form1 : public QWidget, public core::WaitWindow {
    Q_OBJECT

  public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    void setMessage(const std::string& text) override;
    void setMaximum(int maximum) override;
    void setValue(int value) override;
    void showWindow() override;
    void hideWindow() override;
    void setBusy(bool busy) override;

    QLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

  private:
    void Form_Load();
    void waitUntilExposed();
    // Paints the window, or only the part of it that changed, before returning.
    void paintNow(QWidget* part = nullptr);

    bool busy_ = false;
    int paintedPercent_ = -1;  // the percent the bar showed when last painted
};

}  // namespace ombrel::app

#include "app/Form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

#include "app/Pictures.h"
#include "core/MessageBoxes.h"
#include "core/Trace.h"
#include "widgets/Controls.h"

namespace ombrel::app {

namespace {

constexpr qint64 kExposeWaitMs = 2000;

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(core::kAppTitle));
    setWindowModality(Qt::NonModal);

    Image1 = widgets::makeLabel(this, "Image1");
    Image1->setPixmap(waitPicture(96));
    Label2 = widgets::makeLabel(this, "Label2");
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label1 = widgets::makeLabel(this, "Label1", "Retrieving data   Please wait ....");
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(360);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Image1, 0, Qt::AlignHCenter);
    layout->addWidget(Label2, 0, Qt::AlignHCenter);
    layout->addSpacing(6);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Form_Load();
}

Form1::~Form1() {
    setBusy(false);
}

void Form1::Form_Load() {
    Label2->setText(QString::fromLatin1(core::kAppTitle) + QStringLiteral(" v.%1.%2.%3")
                                                               .arg(core::kVersionMajor)
                                                               .arg(core::kVersionMinor)
                                                               .arg(core::kVersionRevision));
}

void Form1::setMessage(const std::string& text) {
    Label1->setText(widgets::toWidgetText(text));
    paintNow();
}

void Form1::setMaximum(int maximum) {
    // A bar whose maximum does not exceed its minimum would turn into a busy indicator.
    const int newMaximum = std::max(maximum, ProgressBar1->minimum() + 1);
    if (newMaximum == ProgressBar1->maximum()) {
        return;  // a save sets the same maximum before every server
    }
    ProgressBar1->setMaximum(newMaximum);
    paintedPercent_ = -1;
    paintNow();
}

void Form1::setValue(int value) {
    const int minimum = ProgressBar1->minimum();
    const int maximum = ProgressBar1->maximum();
    const int clamped = std::clamp(value, minimum, maximum);
    // The bar shows whole percents. A listing steps it once per event record, a million times
    // over a large log, and every value handed to the bar costs a signal and a look at whether
    // it must repaint: the bar gets a new value only when the percent it shows changes.
    const int percent =
        static_cast<int>(100LL * (clamped - minimum) / std::max(1, maximum - minimum));
    if (percent != paintedPercent_) {
        paintedPercent_ = percent;
        ProgressBar1->setValue(clamped);
        // Only the bar has changed: painting the whole window again would cost a save to
        // many servers more than its registry writes.
        paintNow(ProgressBar1);
    }
}

void Form1::showWindow() {
    show();
    raise();
    waitUntilExposed();
    paintNow();
}

void Form1::hideWindow() {
    hide();
}

void Form1::setBusy(bool busy) {
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void Form1::waitUntilExposed() {
    // Under a window manager the first show only asks for the window: it is mapped, framed
    // and exposed a little later. The caller blocks right after this call (a service restart,
    // a farm connection), so without waiting here the window would stay an empty frame until
    // the work is done. The wait is bounded: a display that never exposes the window (minimised
    // desktop, no compositor answer) must not hold the operation up.
    QWindow* window = windowHandle();
    if (window == nullptr || window->isExposed()) {
        return;
    }
    QElapsedTimer waited;
    waited.start();
    while (!window->isExposed() && waited.elapsed() < kExposeWaitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        if (!window->isExposed()) {
            QThread::msleep(2);
        }
    }
}

void Form1::paintNow(QWidget* part) {
    if (!isVisible()) {
        return;
    }
    // The caller keeps the thread until its work is done: let the window be exposed and
    // painted now, without taking any input of the user meanwhile.
    (part != nullptr ? part : this)->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace ombrel::app

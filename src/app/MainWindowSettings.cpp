// The main window's procedures over the settings of tabs 0 to 2, and the description panels.

#include <QAbstractButton>
#include <QMouseEvent>

#include "app/MainWindow.h"
#include "client/ClientTab.h"
#include "sessions/SessionsTab.h"
#include "settings/FlagWord.h"
#include "settings/SettingsTab.h"
#include "widgets/Controls.h"

namespace ombrel::app {

void MainWindow::ClearAllSettings() {
    const int tab = SSTab1->currentIndex();
    if (tab == ClientTabIndex) {
        clientTab->ClearAllSettings();
    } else if (tab == SettingsTabIndex) {
        settingsTab->ClearAllSettings();
    }
    settingsTab->ClearFileLabels();
    sessionsTab->ClearSessionDisplay();
}

void MainWindow::SelectAllSettings() {
    const int tab = SSTab1->currentIndex();
    if (tab == SettingsTabIndex) {
        settingsTab->SelectAllSettings();
    } else if (tab == ClientTabIndex) {
        clientTab->SelectAllSettings();
    }
}

void MainWindow::DisplayFlags(std::int32_t flags) {
    // Tab 0 writes the opening trace and the decoding; the client tab shows its own level.
    settingsTab->DisplayFlags(flags);
    clientTab->ShowEmfDebugLevel(context_.state.EmfDebugLevel);
    context_.WriteTrace("----------------------   DisplayFlags  done");
}

void MainWindow::Flag2Decode_Click() {
    ClearAllSettings();
    const std::string typed = context_.boxes.inputBox(
        "Please enter a DefaultPrnFlag value in hex to decode", core::kAppTitle, "");
    context_.WriteTrace("Flag2Decode = " + typed);
    if (typed.empty()) {
        return;
    }
    const std::string text = typed.rfind("0x", 0) == 0 ? typed.substr(2) : typed;
    const settings::HexReading reading = settings::readHexFlag(text);
    if (!reading.fits) {
        // The word has 32 bits: a longer value would lose its top digits without a word.
        context_.WriteTrace("Flag2Decode refused: more than 8 hexadecimal digits");
        context_.boxes.messageBox(typed + " does not fit in DefaultPrnFlags." + "\r\n" +
                                      "Please enter at most 8 hexadecimal digits, for example "
                                      "3020 or 0x80000020.",
                                  core::BoxButtons::Ok, core::BoxIcon::Exclamation,
                                  core::kAppTitle);
        return;
    }
    settingsTab->ShowTypedWord(text);
    DisplayFlags(reading.value);
}

void MainWindow::watchDescribedControls() {
    const auto watch = [this](QWidget* widget, const SettingDescription* entry) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
        described_.insert(widget, entry);
    };
    for (const SettingDescription& entry : settingDescriptions()) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(entry.control));
        if (control == nullptr) {
            continue;
        }
        watch(control, &entry);
        // A list receives the mouse in its viewport.
        for (QWidget* part : control->findChildren<QWidget*>()) {
            watch(part, &entry);
        }
    }
    for (QWidget* background : {static_cast<QWidget*>(this), serverColumn_}) {
        background->setMouseTracking(true);
        background->installEventFilter(this);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    WatchScreen(watched, event);
    if (event->type() == QEvent::MouseMove) {
        if (const auto found = described_.constFind(watched); found != described_.cend()) {
            ShowDescription(**found);
        } else if (watched == this || watched == serverColumn_) {
            auto* area = static_cast<QWidget*>(watched);
            const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (area->childAt(position) == nullptr) {
                Form_MouseMove();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::ShowDescription(const SettingDescription& entry) {
    const auto* source = findChild<QAbstractButton*>(QString::fromLatin1(entry.captionSource));
    const QString caption = source != nullptr ? source->text() : QString();
    const QString description = widgets::toWidgetText(entry.text);
    if (entry.panel == DescriptionPanel::Settings) {
        settingsTab->ShowDescription(caption, description);
        return;
    }
    clientTab->ShowDescription(caption, description);
}

void MainWindow::Form_MouseMove() {
    settingsTab->ShowIdleDescription(widgets::toWidgetText(kIdleDescriptionText));
    // The client tab's panel shows the same idle text, without a caption.
    clientTab->ShowIdleDescription(settingsTab->descriptionText());
}

}  // namespace ombrel::app

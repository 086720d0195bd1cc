#include "app/MainWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QProxyStyle>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "app/AboutTab.h"
#include "app/Form1.h"
#include "app/Pictures.h"
#include "client/ClientTab.h"
#include "eventlog/EventLogTab.h"
#include "platform/CodePage.h"
#include "sessions/SessionsTab.h"
#include "settings/FlagWord.h"
#include "settings/SettingsTab.h"
#include "upd/DisabledDriversSelection.h"
#include "upd/OUPProperties.h"
#include "upd/ReinstallTab.h"
#include "widgets/Controls.h"

namespace ombrel::app {

namespace {

constexpr int kServerColumnWidth = 210;
// Below this width the window takes its compact form; 1280 and wider keep the full one.
constexpr int kCompactBelow = 1200;
constexpr int kCompactServerColumnWidth = 160;
constexpr int kCompactMargin = 4;
// The blanks that most captions carry at both ends already set them apart.
constexpr int kCompactTabPadding = 6;
constexpr QSize kPreferredSize(1250, 960);
// What a window manager adds around the window (title bar, borders), before it says so.
constexpr QSize kFrameAllowance(16, 40);
// The description panels give up height first on a small screen: a few lines still show the
// start of a description, and the panel scrolls.
constexpr int kDescriptionLines = 4;

// A tab page that scrolls when the window is made smaller than its controls need.
QScrollArea* scrolling(QWidget* page) {
    auto* area = new QScrollArea;
    area->setObjectName(page->objectName() + QStringLiteral("Page"));
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

// Tabs with less room around their captions.
class CompactTabStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace) {
            return kCompactTabPadding;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

// Stands for Form1 in the context, so that the window is loaded only when an operation first
// uses it.
class MainWindow::WaitWindowLoader : public core::WaitWindow {
  public:
    explicit WaitWindowLoader(MainWindow& window) : window_(window) {}

    void setMessage(const std::string& text) override { window_.waitWindow().setMessage(text); }
    void setMaximum(int maximum) override { window_.waitWindow().setMaximum(maximum); }
    void setValue(int value) override { window_.waitWindow().setValue(value); }
    void showWindow() override { window_.waitWindow().showWindow(); }
    void hideWindow() override { window_.waitWindow().hideWindow(); }
    void setBusy(bool busy) override { window_.waitWindow().setBusy(busy); }

  private:
    MainWindow& window_;
};

MainWindow::MainWindow(core::AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context), waitLoader_(std::make_unique<WaitWindowLoader>(*this)) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QString::fromLatin1(core::kAppTitle));
    setWindowIcon(QIcon(productLogo(64)));
    buildServerColumn();
    buildTabs();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(serverColumn_);
    layout->addWidget(SSTab1, 1);

    connectHandlers();
    connectSaveHandlers();
    watchDescribedControls();
    context_.waitWindow = waitLoader_.get();

    // Room for every control of the settings tab, within the screen's bounds, frame included.
    resize(sizeOnScreen());
}

QSize MainWindow::sizeOnScreen() const {
    return kPreferredSize.boundedTo(screen()->availableGeometry().size() - kFrameAllowance);
}

void MainWindow::showOnScreen() {
    if (sizeOnScreen() != kPreferredSize) {
        // Only the window manager knows its frame and panels: a maximised window is the one
        // size it keeps within the screen on every desktop.
        showMaximized();
    } else {
        show();
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setCompact(event->size().width() < kCompactBelow);
}

void MainWindow::setCompact(bool compact) {
    if (compact == compact_) {
        return;
    }
    compact_ = compact;
    const int column = compact ? kCompactServerColumnWidth : kServerColumnWidth;
    serverColumn_->setFixedWidth(column);
    // "Total Number of servers : 7" takes two lines rather than losing its number.
    Label25->setWordWrap(compact);
    Label26->setWordWrap(compact);
    Image1->setPixmap(productLogo(column - 50));
    PLPicture->setPixmap(controllerPicture(column - 30));
    const int margin = compact ? kCompactMargin : style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    layout()->setContentsMargins(margin, margin, margin, margin);
    if (compact && compactTabStyle_ == nullptr) {
        compactTabStyle_ = new CompactTabStyle;
        compactTabStyle_->setParent(this);
    }
    SSTab1->tabBar()->setStyle(compact ? compactTabStyle_ : style());
    settingsTab->setCompact(compact);
}

MainWindow::~MainWindow() {
    Form_Unload();
    if (context_.waitWindow == waitLoader_.get()) {
        context_.waitWindow = nullptr;
    }
}

void MainWindow::buildServerColumn() {
    serverColumn_ = new QWidget(this);
    serverColumn_->setObjectName(QStringLiteral("serverColumn"));
    serverColumn_->setFixedWidth(kServerColumnWidth);

    Label1 = widgets::makeLabel(serverColumn_, "Label1", "Select the server(s)");
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setWordWrap(true);
    TreeView1 = new farm::ServerTree(context_, serverColumn_);
    PLPLC = widgets::makeLabel(serverColumn_, "PLPLC");
    PLPLC->setWordWrap(true);
    PLPicture = widgets::makeLabel(serverColumn_, "PLPicture");
    PLPicture->setPixmap(controllerPicture(kServerColumnWidth - 30));
    PLPicture->setVisible(false);
    Label26 = widgets::makeLabel(serverColumn_, "Label26", "NumSelect");
    Label25 = widgets::makeLabel(serverColumn_, "Label25", "FarmTotal");
    Image1 = widgets::makeLabel(serverColumn_, "Image1");
    Image1->setPixmap(productLogo(kServerColumnWidth - 50));

    auto* column = new QVBoxLayout(serverColumn_);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Label1);
    column->addWidget(TreeView1, 1);
    column->addWidget(PLPLC);
    column->addWidget(PLPicture, 0, Qt::AlignHCenter);
    column->addWidget(Label26);
    column->addWidget(Label25);
    column->addSpacing(8);
    column->addWidget(Image1, 0, Qt::AlignHCenter);
}

void MainWindow::buildTabs() {
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    settingsTab = new settings::SettingsTab(context_);
    sessionsTab = new sessions::SessionsTab(context_);
    sessions::SessionsTab::WindowProcedures& procedures = sessionsTab->procedures;
    procedures.ClearAllSettings = [this] { ClearAllSettings(); };
    procedures.TickLocalServerNode = [this] { TreeView1->TickLocalServerNode(); };
    // Tab 0 is greyed, not hidden, while tab 1 works: the tab bar stays where it is.
    procedures.SetSettingsTabAvailable = [this](bool available) {
        SSTab1->setTabEnabled(SettingsTabIndex, available);
    };
    procedures.ShowSettingsTab = [this] { SSTab1->setTabVisible(SettingsTabIndex, true); };
    clientTab = new client::ClientTab;
    reinstallTab = new upd::ReinstallTab(context_);
    eventLogTab = new eventlog::EventLogTab(context_);
    aboutTab = new AboutTab;
    SSTab1->addTab(scrolling(settingsTab), QStringLiteral("  Advanced Printing Features  "));
    SSTab1->addTab(scrolling(sessionsTab),
                   QStringLiteral("  Active Printing Policies in Session  "));
    SSTab1->addTab(scrolling(clientTab), QStringLiteral("ZRP Client Settings"));
    SSTab1->addTab(scrolling(reinstallTab), QStringLiteral("  Re-Install UPD Driver"));
    SSTab1->addTab(scrolling(eventLogTab), QStringLiteral("  Printing Event logs"));
    SSTab1->addTab(scrolling(aboutTab), QStringLiteral("About"));
    SSTab1->setCurrentIndex(SettingsTabIndex);
    // On a narrow screen the captions are shortened rather than the last tabs pushed behind
    // scroll arrows, where About would never be seen.
    SSTab1->setUsesScrollButtons(false);
    SSTab1->setElideMode(Qt::ElideRight);
    const int descriptionHeight = fontMetrics().lineSpacing() * kDescriptionLines + 8;
    settingsTab->setDescriptionMinimumHeight(descriptionHeight);
    clientTab->setDescriptionMinimumHeight(descriptionHeight);
}

void MainWindow::connectHandlers() {
    connect(SSTab1, &QTabWidget::currentChanged, this, &MainWindow::SSTab1_Click);
    connect(settingsTab, &settings::SettingsTab::DecodeRequested, this,
            &MainWindow::Flag2Decode_Click);
    connect(settingsTab, &settings::SettingsTab::SelectAllRequested, this,
            &MainWindow::SelectAllSettings);
    connect(settingsTab, &settings::SettingsTab::ClearAllRequested, this,
            &MainWindow::ClearAllSettings);
    connect(clientTab, &client::ClientTab::SelectAllRequested, this,
            &MainWindow::SelectAllSettings);
    connect(clientTab, &client::ClientTab::ClearAllRequested, this, &MainWindow::ClearAllSettings);
    connect(settingsTab, &settings::SettingsTab::OupOptionsRequested, this,
            &MainWindow::OUPDOptions_Click);
    connect(settingsTab, &settings::SettingsTab::FallbackDriversRequested, this,
            [this](QPushButton* button) { upd::UPDFallBackDrivers_Click(context_, button, this); });
    connectServerTree();
}

Form1& MainWindow::waitWindow() {
    if (form1_ == nullptr) {
        form1_ = new Form1(this);
    }
    return *form1_;
}

void MainWindow::OUPDOptions_Click() {
    if (oupProperties_ == nullptr) {
        oupProperties_ = new upd::OUPProperties(context_, this);
    }
    oupProperties_->DisplayUPDDevmode();
    oupProperties_->exec();
}

void MainWindow::SSTab1_Click() {
    core::AppState& state = context_.state;
    const int tab = SSTab1->currentIndex();
    if (tab == EventLogTabIndex) {
        context_.WriteTrace("SSTab : Tab active is 4");
        eventLogTab->EnterTab();
    }
    if (tab == AboutTabIndex) {
        context_.WriteTrace("SSTab : Tab active is 5");
        aboutTab->EnterTab();
        return;
    }
    if (tab == ClientTabIndex) {
        context_.WriteTrace("SSTab : Tab active is 2");
        if (seams.GetZRPClientSettings) {
            seams.GetZRPClientSettings();
        }
    }
    if (tab == ReinstallTabIndex) {
        context_.WriteTrace("SSTab : Tab active is 3");
        reinstallTab->EnterTab();
    }
    if (tab == SessionsTabIndex) {
        context_.WriteTrace("SSTab : Tab active is 1");
        if (state.CurrentServer.empty()) {
            TreeView1->TickLocalComputer();
        }
    }
    if (tab == SettingsTabIndex) {
        context_.WriteTrace("SSTab : Tab active is 0");
        if (state.ControllerMode) {
            return;
        }
        if (state.CurrentServer.empty()) {
            TreeView1->TickLocalComputer();
            ReadAndShowSettings(kTabEntryRead);
        }
    }
    context_.WriteTrace("SSTab : Current Server is " + state.CurrentServer);
}

}  // namespace ombrel::app

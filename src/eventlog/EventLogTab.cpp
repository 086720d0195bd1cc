#include "eventlog/EventLogTab.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <string>

#include "core/Text.h"
#include "eventlog/CEventLog.h"
#include "eventlog/EventListRows.h"
#include "eventlog/KnowledgeBase.h"

namespace ombrel::eventlog {

using widgets::makeBox;
using widgets::makeButton;
using widgets::makeFrame;
using widgets::makeLabel;

namespace {

QLabel* makeLink(QWidget* parent, const char* name) {
    QLabel* link = makeLabel(parent, name);
    link->setToolTip(
        QStringLiteral("Click on the item to be redirected to the Ombrel Knowledge Base"));
    link->setCursor(Qt::PointingHandCursor);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    link->setPalette(palette);
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    link->setVisible(false);
    return link;
}

}  // namespace

EventLogTab::EventLogTab(core::AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("PrintingEventLogs"));

    Label30 = makeLabel(this, "Label30");
    Label30->setWordWrap(true);
    Label31 = makeLabel(this, "Label31");
    Label32 = makeLabel(this, "Label32", "Suggested Ombrel Knowledge Base articles : ");
    Label32->setVisible(false);
    Label33 = makeLink(this, "Label33");
    Label34 = makeLink(this, "Label34");

    EventLogList = new QTreeWidget(this);
    EventLogList->setObjectName(QStringLiteral("EventLogList"));
    EventLogList->setRootIsDecorated(false);
    EventLogList->setUniformRowHeights(true);
    EventLogList->setAllColumnsShowFocus(true);
    EventLogList->setColumnCount(0);
    EventLogList->setMinimumHeight(300);
    rows_ = std::make_unique<EventListRows>(EventLogList);

    EventDetails = new QPlainTextEdit(this);
    EventDetails->setObjectName(QStringLiteral("EventDetails"));
    EventDetails->setReadOnly(true);
    EventDetails->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    EventDetails->setMinimumHeight(140);

    Frame18 = makeFrame(this, "Frame18", "  Options  ");
    EventType[0] = new QRadioButton(QStringLiteral(" Application Log"), Frame18);
    EventType[0]->setObjectName(QStringLiteral("EventType(0)"));
    EventType[1] = new QRadioButton(QStringLiteral(" System Log"), Frame18);
    EventType[1]->setObjectName(QStringLiteral("EventType(1)"));
    EventType[0]->setChecked(true);
    auto* logs = new QButtonGroup(this);
    logs->addButton(EventType[0], 0);
    logs->addButton(EventType[1], 1);
    EventLogFilter = makeBox(Frame18, "EventLogFilter", "Errors Only");
    Display = makeButton(this, "Display", "Display");

    auto* options = new QHBoxLayout(Frame18);
    options->addWidget(EventType[0]);
    options->addWidget(EventType[1]);
    options->addWidget(EventLogFilter);

    auto* controls = new QHBoxLayout;
    controls->addWidget(Frame18);
    controls->addWidget(Display, 0, Qt::AlignBottom);
    controls->addStretch();

    auto* articles = new QHBoxLayout;
    articles->addWidget(Label32);
    articles->addWidget(Label33);
    articles->addWidget(Label34);
    articles->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label30);
    layout->addLayout(controls);
    layout->addWidget(Label31);
    layout->addWidget(EventLogList, 3);
    layout->addLayout(articles);
    layout->addWidget(EventDetails, 1);
    connectHandlers();
}

EventLogTab::~EventLogTab() = default;

void EventLogTab::connectHandlers() {
    connect(Display, &QPushButton::clicked, this, &EventLogTab::Display_Click);
    for (QRadioButton* option : EventType) {
        connect(option, &QRadioButton::toggled, this, [this](bool selected) {
            if (selected) {
                EventType_Click();
            }
        });
    }
    // The list sorts only when a header is clicked, never by itself as rows are added.
    EventLogList->setSortingEnabled(false);
    EventLogList->header()->setSectionsClickable(true);
    connect(EventLogList->header(), &QHeaderView::sectionClicked, this,
            &EventLogTab::EventLogList_ColumnClick);
    connect(EventLogList, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { EventLogList_ItemClick(item); });
    // Enter on a row reached with the keys shows it as a click does.
    connect(EventLogList, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { EventLogList_ItemClick(item); });
    Label33->installEventFilter(this);
    Label34->installEventFilter(this);
}

bool EventLogTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Label33) {
            Label33_Click();
            return true;
        }
        if (watched == Label34) {
            Label34_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

CEventLog& EventLogTab::eventLog() {
    if (!reader_) {
        reader_ = std::make_unique<CEventLog>(context_.platform);
    }
    return *reader_;
}

void EventLogTab::Display_Click() {
    const std::vector<std::string> servers = core::selectionParts(context_.state.CurrentServer);
    core::WaitWindow& wait = context_.wait();
    EventDetails->clear();
    wait.showWindow();
    rows_->reset();
    CEventLog& reader = eventLog();
    const bool errorsOnly = EventLogFilter->value() == 1;
    for (std::size_t i = 0; i < servers.size(); ++i) {
        const std::string& server = servers[i];
        if (server.find("[Offline]") != std::string::npos) {
            continue;
        }
        context_.WriteTrace("Working on server " + server);
        const std::string log = EventType[0]->isChecked() ? "Application" : "System";
        const bool opened = listServerEvents(context_, reader, server, log, errorsOnly, *rows_);
        openServer_ = opened ? server : std::string();
        openLog_ = opened ? log : std::string();
        if (i + 1 < servers.size()) {
            rows_->addSeparator();
        }
    }
    Label31->setText(QString::number(rows_->count()) + QStringLiteral(" total records found"));
    wait.hideWindow();
}

void EventLogTab::EventLogList_ColumnClick(int column) {
    const std::string header = widgets::fromWidgetText(EventLogList->headerItem()->text(column));
    if (column == 0) {
        context_.WriteTrace("Sorting disabled for ColumHeader=0 / " + header);
        return;
    }
    context_.WriteTrace("Sorting by ColumHeader=" + std::to_string(column) + " / " + header);
    sortOrder_ = sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    // The header's arrow tells which column and direction the rows are in now.
    EventLogList->header()->setSortIndicatorShown(true);
    EventLogList->sortItems(column, sortOrder_);
}

void EventLogTab::EventType_Click() {
    rows_->clearRows();
    EventDetails->clear();
    hideSuggestions();
}

void EventLogTab::EnterTab() {
    // Report view is the list's only view here. The headers are laid down afresh, so
    // entering the tab again leaves the same six columns and keeps the rows listed.
    rows_->setColumns();
    Label30->setText(widgets::toWidgetText(
        std::string("The recorded events related to printing for the currently selected servers "
                    "will be filtered and listed below. The contents of an event can be "
                    "displayed by clicking on it.") +
        "\r\n" +
        "Click the Display button to start the parsing process. CAUTION: this can take a long "
        "time based on the number of servers and the lenght of the eventlogs."));
}

}  // namespace ombrel::eventlog

#include "eventlog/EventLogTab.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include <string>

namespace ombrel::eventlog {

using app::makeBox;
using app::makeButton;
using app::makeFrame;
using app::makeLabel;

namespace {

// Column widths are kept in twips, as the list's documents give them: 1440 to the inch.
constexpr int kTwipsPerInch = 1440;

struct Column {
    const char* header;
    int twips;
};
constexpr std::array<Column, 6> kColumns{{{"Record#", 900},
                                          {"Type", 900},
                                          {"EventId", 900},
                                          {"Date/Time", 1800},
                                          {"Source", 2100},
                                          {"Computer", 1700}}};

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

EventLogTab::EventLogTab(QWidget* parent) : QWidget(parent) {
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
}

void EventLogTab::EnterTab() {
    // Report view is the list's only view here. The headers are laid down afresh, so
    // entering the tab again leaves the same six columns and keeps the rows listed.
    QStringList headers;
    for (const Column& column : kColumns) {
        headers << QString::fromLatin1(column.header);
    }
    EventLogList->setColumnCount(static_cast<int>(kColumns.size()));
    EventLogList->setHeaderLabels(headers);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        EventLogList->setColumnWidth(
            static_cast<int>(i), kColumns[i].twips * EventLogList->logicalDpiX() / kTwipsPerInch);
    }
    Label30->setText(app::toWidgetText(
        std::string("The recorded events related to printing for the currently selected servers "
                    "will be filtered and listed below. The contents of an event can be "
                    "displayed by clicking on it.") +
        "\r\n" +
        "Click the Display button to start the parsing process. CAUTION: this can take a long "
        "time based on the number of servers and the lenght of the eventlogs."));
}

}  // namespace ombrel::eventlog

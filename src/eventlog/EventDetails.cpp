// The tab's event details: a clicked row's description and the suggested knowledge-base
// articles, and the articles opened in the browser.

#include "eventlog/EventExplanation.h"
#include "eventlog/EventListRows.h"
#include "eventlog/EventLogTab.h"
#include "eventlog/KnowledgeBase.h"

namespace ombrel::eventlog {

void EventLogTab::openRowLog(const QTreeWidgetItem* row) {
    const std::string server = EventListRows::server(row);
    const std::string log = EventListRows::log(row);
    if (server == openServer_ && log == openLog_) {
        return;
    }
    // The reader holds the log listed last; a row of another server or log is read from its
    // own log, or its number would name an unrelated event there.
    const bool opened = eventLog().OpenLog(server, log);
    openServer_ = opened ? server : std::string();
    openLog_ = opened ? log : std::string();
}

void EventLogTab::hideSuggestions() {
    Label32->setVisible(false);
    Label33->setVisible(false);
    Label34->setVisible(false);
}

void EventLogTab::EventLogList_ItemClick(QTreeWidgetItem* item) {
    if (EventLogList->topLevelItemCount() == 0 || item == nullptr ||
        EventListRows::kind(item) != EventListRows::Kind::Event) {
        return;
    }
    const auto recordNumber = static_cast<std::int32_t>(item->text(0).toLongLong());
    openRowLog(item);
    const EventExplanation explanation = explainEvent(eventLog(), recordNumber);
    EventDetails->setPlainText(widgets::toWidgetText(explanation.description));
    Label32->setVisible(true);
    Label33->setVisible(true);

    const std::optional<ArticleSuggestion>& suggestion = explanation.articles;
    if (suggestion) {
        SuggestedArticle = suggestion->first;
        Label34->setVisible(!suggestion->second.empty());
        if (!suggestion->second.empty()) {
            Label34->setText(widgets::toWidgetText(suggestion->second));
        }
    } else {
        hideSuggestions();
    }
    Label33->setText(widgets::toWidgetText(SuggestedArticle));
}

void EventLogTab::Label33_Click() {
    openArticle(context_, SuggestedArticle);
}

void EventLogTab::Label34_Click() {
    openArticle(context_, widgets::fromWidgetText(Label34->text()));
}

}  // namespace ombrel::eventlog

// The server tree: the farm and its servers, and the node handler that turns the
// administrator's ticks into the selection CurrentServer.

#include "farm/ServerTree.h"

#include <QBrush>
#include <QColor>
#include <QSignalBlocker>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <optional>
#include <set>

#include "farm/FarmDiscovery.h"
#include "farm/Selection.h"
#include "platform/CodePage.h"
#include "widgets/Controls.h"
#include "widgets/ListOrder.h"

namespace ombrel::farm {

namespace {

// A node's key, as the tree's lookups know it.
constexpr int kKeyRole = Qt::UserRole;
// The tick a node had when last seen: itemChanged fires for text and colour changes too, and
// only a different tick is the user's click.
constexpr int kLastTickRole = Qt::UserRole + 1;

constexpr const char* kCaution = "Caution";
// The colour that marks an offline server, &HC0C0C0.
const QColor kOfflineColour(0xC0, 0xC0, 0xC0);

std::string nodeText(const QTreeWidgetItem* node) {
    return widgets::fromWidgetText(node->text(0));
}

std::optional<int> tickOf(const QTreeWidgetItem* node, int role) {
    const QVariant value = node->data(0, role);
    if (!value.isValid()) {
        return std::nullopt;
    }
    return value.toInt();
}

void rememberTick(QTreeWidgetItem* node) {
    const std::optional<int> tick = tickOf(node, Qt::CheckStateRole);
    if (!tick) {
        return;
    }
    const QSignalBlocker blocker(node->treeWidget());
    node->setData(0, kLastTickRole, *tick);
}

void rememberTicks(QTreeWidgetItem* node) {
    rememberTick(node);
    for (int i = 0; i < node->childCount(); ++i) {
        rememberTicks(node->child(i));
    }
}

bool isOffline(const QTreeWidgetItem* node) {
    return node->data(0, Qt::ForegroundRole).isValid() &&
           node->foreground(0).color() == kOfflineColour;
}

void setTick(QTreeWidgetItem* node, Qt::CheckState state) {
    const QSignalBlocker blocker(node->treeWidget());
    node->setCheckState(0, state);
}

void markOffline(QTreeWidgetItem* node, const std::string& serverName) {
    const QSignalBlocker blocker(node->treeWidget());
    node->setText(0, widgets::toWidgetText(kOfflinePrefix + serverName));
    node->setForeground(0, QBrush(kOfflineColour));
}

// The children in the order the tree's Sorted switch gives them: alphabetical, without
// regard to case, equal texts kept in the order they came.
void sortChildren(QTreeWidgetItem* parent) {
    QList<QTreeWidgetItem*> children = parent->takeChildren();
    std::stable_sort(children.begin(), children.end(),
                     [](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
                         return widgets::sortsBefore(a->text(0), b->text(0));
                     });
    parent->addChildren(children);
}

// A node with a check box, added last under parent (the top level for nullptr).
QTreeWidgetItem* addNode(QTreeWidget* tree, QTreeWidgetItem* parent, const std::string& key,
                         const std::string& text) {
    auto* node = new QTreeWidgetItem(QStringList{widgets::toWidgetText(text)});
    node->setData(0, kKeyRole, widgets::toWidgetText(key));
    node->setCheckState(0, Qt::Unchecked);
    const QSignalBlocker blocker(tree);
    (parent != nullptr ? parent : tree->invisibleRootItem())->addChild(node);
    return node;
}

}  // namespace

ServerTree::ServerTree(core::AppContext& context, QWidget* parent)
    : QTreeWidget(parent), context_(context) {
    setObjectName(QStringLiteral("TreeView1"));
    setHeaderHidden(true);
    // Every node is one line: the tree need not lay out each row's text again whenever a tick
    // or a mark changes, which ticking the root of a large farm does for every server.
    setUniformRowHeights(true);
    setColumnCount(1);
    QAbstractItemModel* items = model();
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node, int column) {
        if (column == 0) {
            ItemChanged(node);
        }
    });
    // Ticks made from code block the tree's signals; the model still reports them, so the
    // last seen tick stays true and the user's next click is told apart.
    connect(
        items, &QAbstractItemModel::dataChanged, this,
        [this](const QModelIndex& first, const QModelIndex& last, const QList<int>& roles) {
            if (!signalsBlocked() || (!roles.isEmpty() && !roles.contains(Qt::CheckStateRole))) {
                return;
            }
            for (int row = first.row(); row <= last.row(); ++row) {
                QTreeWidgetItem* node = itemFromIndex(first.siblingAtRow(row).siblingAtColumn(0));
                if (node != nullptr) {
                    rememberTick(node);
                }
            }
        });
    connect(items, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int first, int last) {
                for (int row = first; row <= last; ++row) {
                    QTreeWidgetItem* node = itemFromIndex(this->model()->index(row, 0, parent));
                    if (node != nullptr) {
                        rememberTicks(node);
                    }
                }
            });
}

QTreeWidgetItem* ServerTree::nodeByKey(const QTreeWidget* tree, const std::string& key) {
    const QString wanted = widgets::toWidgetText(key);
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it != nullptr; ++it) {
        if ((*it)->data(0, kKeyRole).toString() == wanted) {
            return *it;
        }
    }
    return nullptr;
}

void ServerTree::insertAndSortTree(const std::string& parentKey, const std::string& key,
                                   const std::string& text) {
    QTreeWidgetItem* parent = nullptr;
    if (!parentKey.empty()) {
        parent = nodeByKey(this, parentKey);
        if (parent == nullptr) {
            return;  // no such relative: the tree refuses the node
        }
    }
    if (!key.empty() && nodeByKey(this, key) != nullptr) {
        return;  // the key is in use: the tree refuses the node
    }
    addNode(this, parent, key, text);
    if (parent != nullptr) {
        const QSignalBlocker blocker(this);
        sortChildren(parent);
    }
}

void ServerTree::Populate() {
    core::AppState& state = context_.state;
    const std::size_t servers = state.FarmServers.size() - 1;

    context_.WriteTrace("---------------- POPULATESERVERLIST ---------------");
    // The tree's Sorted switch orders the top level, which holds only the farm root.
    setProperty("Sorted", true);
    {
        const QSignalBlocker blocker(this);
        sortChildren(invisibleRootItem());
    }
    if (nodeByKey(this, "Farm") != nullptr) {
        return;  // the farm is shown already
    }
    QTreeWidgetItem* root = addNode(this, nullptr, "Farm", state.FarmName);
    root->setExpanded(true);
    context_.WriteTrace("Total members of array " + std::to_string(servers));
    // Added directly, not through insertAndSortTree: the servers keep the order of FarmServers.
    // A name the library reports twice would make two nodes with one key: the first one stays.
    std::set<std::string> keys;
    for (std::size_t k = 1; k <= servers; ++k) {
        context_.WriteTrace("fill out " + std::to_string(k) + " " + state.FarmServers[k]);
        if (keys.insert(state.FarmServers[k]).second) {
            addNode(this, root, state.FarmServers[k], state.FarmServers[k]);
        }
    }

    if (QTreeWidgetItem* local = TickLocalServerNode()) {
        scrollToItem(local);
    }

    const std::string farmName =
        state.FarmObject ? platform::fromAnsi(state.FarmObject->farmName()) : std::string();
    context_.WriteTrace("Test FarmName " + farmName);
    viewport()->update();
    context_.WriteTrace("****** Selected Server " + state.CurrentServer + " ******");
}

QTreeWidgetItem* ServerTree::TickLocalServerNode() {
    QTreeWidgetItem* root = nodeByKey(this, "Farm");
    const QString local = widgets::toWidgetText(
        platform::fromAnsi(context_.platform.system.environmentVariable("computername")));
    QTreeWidgetItem* ticked = nullptr;
    for (int i = 0; root != nullptr && i < root->childCount(); ++i) {
        QTreeWidgetItem* child = root->child(i);
        if (child->text(0) == local) {
            setTick(child, Qt::Checked);
            context_.state.CurrentServer = nodeText(child);
            ticked = child;
        }
    }
    return ticked;
}

void ServerTree::TickLocalComputer() {
    core::AppState& state = context_.state;
    const QString local = widgets::toWidgetText(
        platform::fromAnsi(context_.platform.system.environmentVariable("computername")));
    // Nodes 1 to N+1 in the order they were added: the farm root, then the N servers.
    const std::size_t nodes = state.FarmServers.size();
    const QSignalBlocker blocker(this);
    std::size_t walked = 0;
    for (QTreeWidgetItemIterator it(this); *it != nullptr && walked < nodes; ++it, ++walked) {
        QTreeWidgetItem* node = *it;
        if (node->text(0) != local) {
            node->setCheckState(0, Qt::Unchecked);
        } else {
            node->setCheckState(0, Qt::Checked);
            state.CurrentServer = widgets::fromWidgetText(node->text(0));
        }
    }
}

void ServerTree::ItemChanged(QTreeWidgetItem* node) {
    const std::optional<int> tick = tickOf(node, Qt::CheckStateRole);
    const std::optional<int> last = tickOf(node, kLastTickRole);
    if (tick == last) {
        return;  // a text or a colour, not the tick
    }
    rememberTick(node);
    // A node that had no check box could not be clicked: it is being built.
    if (!last) {
        return;
    }
    TreeView1_NodeCheck(node);
}

void ServerTree::TreeView1_NodeCheck(QTreeWidgetItem* node) {
    context_.WriteTrace("Entering TreeView Node Check");
    context_.WriteTrace("Selected Server before check change " + context_.state.CurrentServer);
    if (node->childCount() > 0) {
        if (node->checkState(0) == Qt::Checked) {
            FarmRootTicked(node);
        } else {
            FarmRootUnticked(node);
        }
        return;
    }
    ServerNodeCheck(node);
}

void ServerTree::FarmRootTicked(QTreeWidgetItem* root) {
    core::AppState& state = context_.state;
    state.CurrentServer.clear();
    for (int i = 0; i < root->childCount(); ++i) {
        QTreeWidgetItem* child = root->child(i);
        setTick(child, Qt::Checked);
        const std::string text = nodeText(child);
        if (text.find(kOfflineMark) != std::string::npos) {
            continue;
        }
        const PingOutcome ping = pingServer(context_, text);
        if (ping.online) {
            context_.WriteTrace(ping.serverName + " online");
            state.CurrentServer += "," + text;
        } else {
            markOffline(child, ping.serverName);
            context_.WriteTrace("!! " + ping.serverName + " offline");
            child->setSelected(false);
        }
    }
    context_.boxes.messageBox(
        std::string("When selecting all servers in the farm, registry settings will not be "
                    "displayed.") +
            "\r" + "However, saving will apply to all online servers",
        core::BoxButtons::Ok, core::BoxIcon::Information, kCaution);
    context_.WriteTrace("ALL Servers are selected");
    emit SummaryChanged(widgets::toWidgetText(kAllServersSelected));
    emit WholeFarmSelected();
    emit SettingsToClear();
    context_.WriteTrace(state.CurrentServer);
    if (!state.CurrentServer.empty() && state.CurrentServer.front() == ',') {
        state.CurrentServer.erase(0, 1);
        context_.WriteTrace("remove the , " + state.CurrentServer);
    }
    context_.WriteTrace(state.CurrentServer);
}

void ServerTree::FarmRootUnticked(QTreeWidgetItem* root) {
    context_.WriteTrace("Clearing all selected servers");
    for (int i = 0; i < root->childCount(); ++i) {
        setTick(root->child(i), Qt::Unchecked);
    }
    context_.state.CurrentServer.clear();
    emit SettingsToClear();
    emit SummaryChanged(QString());
}

void ServerTree::ServerNodeCheck(QTreeWidgetItem* node) {
    core::AppState& state = context_.state;
    const std::string text = nodeText(node);
    context_.WriteTrace("Checking if " + text + " is online");
    if (isOffline(node)) {
        context_.WriteTrace("!!! Clicked an offline server !!!");
        RefuseOfflineNode(node);
        return;
    }
    const PingOutcome ping = pingServer(context_, text);
    if (!ping.online) {
        markOffline(node, ping.serverName);
        context_.WriteTrace("!! " + ping.serverName + " offline");
        RefuseOfflineNode(node);
        return;
    }
    context_.WriteTrace(ping.serverName + " online");
    context_.WriteTrace("We are good to process with " + text);

    if (node->checkState(0) == Qt::Checked) {
        context_.WriteTrace("Node " + text + " is checked and color is NOT &HC0C0C0");
        state.CurrentServer = withTicked(state.CurrentServer, text, state.FarmName);
        SelectionSummaryUpdate();
    } else {
        context_.WriteTrace("Node " + text + " is NOT Checked");
        context_.WriteTrace("color is NOT &HC0C0C0");
        context_.WriteTrace("Working on " + text + " with selected servers list");
        QTreeWidgetItem* root = node->parent();
        if (root != nullptr && root->checkState(0) == Qt::Checked) {
            // Leaving the whole farm: every other farm server stays selected and Label26 keeps
            // its text.
            context_.WriteTrace("Server was previously checked, removing");
            state.CurrentServer.clear();
            setTick(root, Qt::Unchecked);
            state.CurrentServer = farmWithout(context_, state.FarmServers, text);
        } else {
            const Untick untick = withUnticked(context_, state.CurrentServer, text);
            emit SummaryChanged(widgets::toWidgetText(serversSelectedText(untick.listed)));
            state.CurrentServer = untick.currentServer;
            SelectionSummaryUpdate();
        }
    }
    emit SelectionChanged();
}

void ServerTree::RefuseOfflineNode(QTreeWidgetItem* node) {
    const std::string& current = context_.state.CurrentServer;
    context_.WriteTrace(
        "Unchecked the server. Skipping other verifications as it is an offline server.");
    context_.WriteTrace(current);
    emit SummaryChanged(widgets::toWidgetText(serversSelectedText(selectionCount(current))));
    setTick(node, Qt::Unchecked);
    node->setSelected(false);
}

void ServerTree::SelectionSummaryUpdate() {
    const std::string& current = context_.state.CurrentServer;
    const int count = selectionCount(current);
    const QString summary = widgets::toWidgetText(serversSelectedText(count));
    context_.WriteTrace("Selected Servers " + current +
                        "   Number of items=" + std::to_string(count));
    emit SettingsToClear();
    context_.WriteTrace("change label26 because CurrentServer =" + std::to_string(count));
    emit SummaryChanged(summary);
    if (count <= 1) {
        context_.WriteTrace("clear label26");
        emit SummaryChanged(QString());
        return;
    }
    emit SeveralSelected(count, summary);
}

}  // namespace ombrel::farm

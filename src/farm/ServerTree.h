#pragma once
// The server tree of the main window's column, TreeView1: the farm as its root and the farm's
// servers under it, each with a tick box. Its node handler turns the administrator's ticks
// into the selection CurrentServer, pinging each server ticked and marking the offline ones.
// What a selection means for the tabs belongs to the window: the signals below tell it, and
// each is emitted at the step of the handling where the window's part comes.

#include <QTreeWidget>

#include <string>

#include "core/AppContext.h"

namespace ombrel::farm {

class ServerTree : public QTreeWidget {
    Q_OBJECT

  public:
    explicit ServerTree(core::AppContext& context, QWidget* parent = nullptr);

    // The body of POPULATESERVERLIST: shows the farm and its servers in the order of
    // FarmServers and ticks the local server; nothing when the farm is shown already.
    void Populate();
    // Adds a node under the node keyed parentKey (at the top level for ""), ignoring what the
    // tree refuses (an unknown parent, a key already used), and sorts the parent's children.
    void insertAndSortTree(const std::string& parentKey, const std::string& key,
                           const std::string& text);
    // The node of the tree keyed key, nullptr when there is none.
    static QTreeWidgetItem* nodeByKey(const QTreeWidget* tree, const std::string& key);
    // Ticks the farm root's child named as the local computer and makes it the selection,
    // without running the node handler; the node ticked, or nullptr.
    QTreeWidgetItem* TickLocalServerNode();
    // Ticks the local computer's node, unticks every other node of the first N+1, and makes
    // the local computer the selection when it is found. The node handler does not run.
    void TickLocalComputer();
    // The node handler: runs after the user changed a node's tick, never for a tick from code.
    void TreeView1_NodeCheck(QTreeWidgetItem* node);

  signals:
    // The settings shown no longer belong to the selection: ClearAllSettings.
    void SettingsToClear();
    // The summary under the tree, Label26.
    void SummaryChanged(const QString& text);
    // The farm root was ticked; the settings are cleared after this.
    void WholeFarmSelected();
    // A server was added to a selection that now holds count servers (two or more).
    void SeveralSelected(int count, const QString& summary);
    // The end of a server node's handling: the selection is what it will stay.
    void SelectionChanged();

  private:
    void ItemChanged(QTreeWidgetItem* node);
    void FarmRootTicked(QTreeWidgetItem* root);
    void FarmRootUnticked(QTreeWidgetItem* root);
    void ServerNodeCheck(QTreeWidgetItem* node);
    void RefuseOfflineNode(QTreeWidgetItem* node);
    void SelectionSummaryUpdate();

    core::AppContext& context_;
};

}  // namespace ombrel::farm

// Ticking the farm root of the demo farm once a server is known to be offline.

#include <QTreeWidgetItemIterator>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DemoStart.h"

namespace ombrel::app {
namespace {

using testing::Contains;
using testing::Not;

TEST(FarmRootTick, OfflineServersAreTickedWithTheRootButNotPingedOrSelected) {
    DemoStart tool("demo");
    ASSERT_TRUE(tool.start("/debug"));
    QTreeWidget* tree = tool.window.TreeView1;
    QTreeWidgetItem* root = farm::ServerTree::nodeByKey(tree, "Farm");
    QTreeWidgetItem* gamma = farm::ServerTree::nodeByKey(tree, "Gamma");
    ASSERT_NE(root, nullptr);
    ASSERT_NE(gamma, nullptr);

    // The user's tick on Gamma, which does not answer: marked and refused.
    gamma->setCheckState(0, Qt::Checked);
    ASSERT_EQ(gamma->text(0).toStdString(), "[Offline] Gamma");
    ASSERT_EQ(gamma->checkState(0), Qt::Unchecked);
    tool.takeTraces();

    root->setCheckState(0, Qt::Checked);
    for (int i = 0; i < root->childCount(); ++i) {
        EXPECT_EQ(root->child(i)->checkState(0), Qt::Checked)
            << root->child(i)->text(0).toStdString();
    }
    EXPECT_EQ(tool.state.CurrentServer, "Beta,SRV1,SRV3,alpha,delta,srv2");
    EXPECT_EQ(tool.window.Label26->text().toStdString(), " ** ALL servers are selected **");
    EXPECT_THAT(tool.takeTraces(), Not(Contains("10.20.0.15")));  // Gamma's address
}

}  // namespace
}  // namespace ombrel::app

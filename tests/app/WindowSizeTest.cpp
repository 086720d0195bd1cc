// The window on the commonest small screens: a 1366x768 laptop and a 1024x768 projector,
// with a title bar taken off the height.

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>

#include "MainWindowFixture.h"

namespace ombrel::app {
namespace {

constexpr int kTitleBar = 28;

class WindowSizeTest : public MainWindowTest {
  protected:
    void showAt(int width, int height) {
        for (int tab = 0; tab < window.SSTab1->count(); ++tab) {
            window.SSTab1->setTabVisible(tab, true);
        }
        window.resize(width, height - kTitleBar);
        window.show();
        QApplication::processEvents();
    }
    QScrollArea* page(int tab) { return qobject_cast<QScrollArea*>(window.SSTab1->widget(tab)); }
};

TEST_F(WindowSizeTest, EveryControlOfEveryTabIsSeenWithoutScrollingOn1366x768) {
    showAt(1366, 768);
    EXPECT_LE(window.minimumSizeHint().height(), 768 - kTitleBar);
    for (int tab = 0; tab < window.SSTab1->count(); ++tab) {
        SCOPED_TRACE(tab);
        window.SSTab1->setCurrentIndex(tab);
        QApplication::processEvents();
        EXPECT_EQ(page(tab)->verticalScrollBar()->maximum(), 0);
        EXPECT_EQ(page(tab)->horizontalScrollBar()->maximum(), 0);
        // The left column ends with the logo, still inside the window.
        EXPECT_GE(window.height(),
                  window.Image1->mapTo(&window, QPoint(0, 0)).y() + window.Image1->height());
    }
}

TEST_F(WindowSizeTest, OnA1024x768ScreenTheWindowFitsAndEveryTabCanBeChosen) {
    showAt(1024, 768);
    EXPECT_LE(window.minimumSizeHint().width(), 1024);
    EXPECT_LE(window.minimumSizeHint().height(), 768 - kTitleBar);
    const QTabBar* bar = window.SSTab1->tabBar();
    for (int tab = 0; tab < window.SSTab1->count(); ++tab) {
        SCOPED_TRACE(tab);
        EXPECT_LE(bar->tabRect(tab).right(), bar->width());
        EXPECT_GE(bar->tabRect(tab).width(), 40);  // a caption shortened, not squeezed away
    }
    EXPECT_EQ(window.SSTab1->tabText(MainWindow::AboutTabIndex).toStdString(), "About");
}

}  // namespace
}  // namespace ombrel::app

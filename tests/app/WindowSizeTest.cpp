// The window on the commonest screens: a 1024x768 remote session or projector, a 1366x768
// laptop and a 1280x1024 desktop, with a title bar taken off the height. On each, every control
// of every tab is seen without scrolling and every tab caption is read whole.

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>

#include "MainWindowFixture.h"

namespace ombrel::app {
namespace {

constexpr int kTitleBar = 28;

class WindowSizeTest : public MainWindowTest, public ::testing::WithParamInterface<QSize> {
  protected:
    // All six tabs, as on a farm server started with "/passthrough": the most the bar holds.
    void showOnScreen(QSize screen) {
        for (int tab = 0; tab < window.SSTab1->count(); ++tab) {
            window.SSTab1->setTabVisible(tab, true);
        }
        window.show();
        QApplication::processEvents();
        window.resize(screen.width(), screen.height() - kTitleBar);
        QApplication::processEvents();
    }
    QScrollArea* page(int tab) { return qobject_cast<QScrollArea*>(window.SSTab1->widget(tab)); }
};

TEST_P(WindowSizeTest, EveryControlOfEveryTabIsSeenAndEveryCaptionIsWhole) {
    const QSize screen = GetParam();
    showOnScreen(screen);
    EXPECT_LE(window.minimumSizeHint().width(), screen.width());
    EXPECT_LE(window.minimumSizeHint().height(), screen.height() - kTitleBar);
    EXPECT_LE(window.width(), screen.width());
    EXPECT_LE(window.height(), screen.height() - kTitleBar);

    const QTabBar* bar = window.SSTab1->tabBar();
    for (int tab = 0; tab < window.SSTab1->count(); ++tab) {
        SCOPED_TRACE(window.SSTab1->tabText(tab).toStdString());
        // A shortened caption is drawn in a tab narrower than the caption and its padding.
        const int whole = bar->fontMetrics().horizontalAdvance(window.SSTab1->tabText(tab)) +
                          bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        EXPECT_GE(bar->tabRect(tab).width(), whole);
        EXPECT_LE(bar->tabRect(tab).right(), bar->width());

        window.SSTab1->setCurrentIndex(tab);
        QApplication::processEvents();
        QScrollArea* area = page(tab);
        EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(area->verticalScrollBar()->maximum(), 0);
        const QRect seen = area->viewport()->rect();
        for (const QWidget* control : area->widget()->findChildren<QWidget*>()) {
            if (!control->isVisibleTo(area->widget()) || control->objectName().isEmpty() ||
                control->objectName().startsWith(QLatin1String("qt_"))) {
                continue;
            }
            const QRect where(control->mapTo(area->viewport(), QPoint(0, 0)), control->size());
            EXPECT_TRUE(seen.contains(where))
                << control->objectName().toStdString() << " at " << where.x() << "," << where.y()
                << " " << where.width() << "x" << where.height() << " outside " << seen.width()
                << "x" << seen.height();
        }
        // The left column ends with the logo, still inside the window.
        EXPECT_GE(window.height(),
                  window.Image1->mapTo(&window, QPoint(0, 0)).y() + window.Image1->height());
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, WindowSizeTest,
                         ::testing::Values(QSize(1024, 768), QSize(1366, 768), QSize(1280, 1024)),
                         [](const auto& screen) {
                             return std::to_string(screen.param.width()) + "x" +
                                    std::to_string(screen.param.height());
                         });

}  // namespace
}  // namespace ombrel::app

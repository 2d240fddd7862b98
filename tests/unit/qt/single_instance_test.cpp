// A second editor start finds the first, asks it forward and ends; once the first has ended a
// new start runs again.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "offscreen_application.h"
#include "qt/single_instance.h"

namespace {

QString uniqueCaption() {
    return "single instance test " + QString::number(QCoreApplication::applicationPid());
}

TEST(SingleInstance, ALaterStartRaisesTheFirstAndAFreedNameIsTakenAgain) {
    offscreenApplication();
    int raises = 0;
    {
        qtui::SingleInstance first(uniqueCaption());
        ASSERT_FALSE(first.otherInstanceRaised());
        first.onRaiseRequest([&raises] { ++raises; });

        const qtui::SingleInstance second(uniqueCaption());
        EXPECT_TRUE(second.otherInstanceRaised());
        QElapsedTimer waited;
        waited.start();
        while (raises == 0 && waited.elapsed() < 5000) QCoreApplication::processEvents();
        EXPECT_EQ(raises, 1);

        EXPECT_FALSE(
            qtui::SingleInstance("another caption " + uniqueCaption()).otherInstanceRaised())
            << "another caption is another program";
    }
    EXPECT_FALSE(qtui::SingleInstance(uniqueCaption()).otherInstanceRaised())
        << "nothing is left behind by the first";
}

}  // namespace

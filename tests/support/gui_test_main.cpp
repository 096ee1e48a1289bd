// GoogleTest main for tests that drive real widgets: one QApplication for the whole run.
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The X server's pointer stays where an earlier test program left it. Parked in the far
    // corner, it cannot enter or leave the test windows, which open near the origin, when
    // they appear or go.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        QCursor::setPos(screen, screen->geometry().bottomRight());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

// Drawing and window tests need an application object; they always run offscreen.
template <class Application>
int runTestsOffscreen(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    Application app(argc, argv);
    return RUN_ALL_TESTS();
}

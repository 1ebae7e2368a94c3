#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace xemap::testing {

// Writes what the window looks like into the build folder's screenshots.
inline void saveScreenshot(QWidget& window, const QString& name)
{
    const QString folder = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(folder);
    EXPECT_TRUE(window.grab().save(folder + "/" + name + ".png"));
}

}  // namespace xemap::testing

// A result page drawn on screen and printed, for a look by eye: both must show something, and
// both are kept in the folder VANTREL_SCREENSHOTS names (nothing is kept without it).
#pragma once

#include "common/Shots.h"
#include "platform/printer.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vnt::test {

template <class Page>
void lookAt(Page &page, const QString &name)
{
    const QImage shot = shotOf(page);
    EXPECT_GT(inkIn(shot, shot.rect()), shot.width() * shot.height() / 100);
    EXPECT_TRUE(keepShot(shot, name + QStringLiteral("-screen")));
    QTemporaryDir out;
    const QString folder = qEnvironmentVariable("VANTREL_SCREENSHOTS");
    const QString pdf = (folder.isEmpty() ? out.path() : folder) + QLatin1Char('/') + name + QStringLiteral(".pdf");
    Printer::instance().setPdfFile(pdf);
    page.DRUCKEN();
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    Printer::instance().setPdfFile(QString());
    Printer::instance().reset();
}

} // namespace vnt::test

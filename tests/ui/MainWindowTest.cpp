#include <gtest/gtest.h>

#include "ui/MKPUnit1.h"

TEST(MainWindow, StartsWithCaptionAndSize) {
    TForm1 form;
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("KORVAN - B 2D 2003"));
    EXPECT_EQ(form.size(), QSize(765, 520));
    EXPECT_EQ(form.MKPSpace1().Nodes.Count(), 0);
}

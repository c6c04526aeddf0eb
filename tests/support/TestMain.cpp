#include <gtest/gtest.h>

#include <QApplication>

#include "platform/ui/TextBoxes.h"

// Every test program runs its widgets off screen unless told otherwise.
int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The text boxes follow the program's rules in every test, as in the program.
    quorl::ui::installTextBoxRules();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
